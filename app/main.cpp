#include "app/startup.h"

int main(int argc, char **argv) { return app::startUp(argc, argv); }
