#include "support/scenarios.h"

#include "app/startup.h"

#include <cstdio>
#include <cstring>

namespace support {
int runScenario(int argc, char **argv) {
  app::StartupOptions options;
  if (argc > 2)
    options.runDirectory = argv[2];
  options.afterExitCleanUp = [] { std::puts("exit-clean-up"); };
  return app::startUp(argc, argv, options);
}
} // namespace support
