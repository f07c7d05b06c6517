#pragma once
namespace support {
int runScenario(int argc, char **argv);
}
