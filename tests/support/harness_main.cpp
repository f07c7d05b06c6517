// The real start-up with a scripted host. Usage: vostrel_harness SCENARIO RUN_DIRECTORY
// It prints what it saw on stdout, one fact per line, and exits with the program's code.
#include "support/scenarios.h"

int main(int argc, char **argv) { return support::runScenario(argc, argv); }
