#include <csignal>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/console.h"
#include "app/data_directory.h"
#include "app/draw_file_commands.h"
#include "app/program.h"
#ifdef LANZHOU_WITH_GUI
#include "gui/run_main_window.h"
#endif

int main(int argc, char** argv) {
  // A file that may grow no further (a quota, a file size limit) then fails
  // the write, which rolls the archive's transaction back and is reported,
  // rather than killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  auto parsed = app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed) {
    std::cerr << "lanzhou: " << parsed.error().message
              << "\nRun with --help for more information.\n";
    return 2;
  }
  app::Options options = parsed.value();
  if (options.help) {
    std::cout << app::HelpText();
    return 0;
  }
  if (options.version) {
    std::cout << app::VersionText() << "\n" << app::LicenceText() << "\n";
    return 0;
  }
  const app::DataPlaces places = app::FindDataPlaces();
  auto dataDir = app::ResolveDataDir(options.dataDir, places);
  if (!dataDir) {
    std::cerr << "lanzhou: " << dataDir.error().message << "\n";
    return 2;
  }
  options.dataDir = dataDir.value();
  // Without a shipped file the program still runs, as with one deleted.
  if (auto seeded = app::SeedDataDir(options.dataDir, places.shippedDir); !seeded) {
    std::cerr << "lanzhou: " << seeded.error().message << "\n";
  }

  if (!options.importDraws.empty() || !options.exportDraws.empty()) {
    return app::RunDrawFileCommands(options, std::cout, std::cerr);
  }
  try {
#ifdef LANZHOU_WITH_GUI
    if (options.console && options.qt) {
      return gui::RunScriptedWindow(argc, argv, [&](ui::DrivenWindow& window) {
        return app::RunConsoleSession(options, window, std::cin, std::cout,
                                      [&window] { window.ProcessEvents(); });
      });
    }
#endif
    if (options.console) return app::RunConsoleSession(options, std::cin, std::cout);
#ifdef LANZHOU_WITH_GUI
    app::Program program(options.dataDir);
    return gui::RunMainWindow(
        argc, argv, [&](ui::Window& window) { program.Start(window, !options.noStart); },
        options.quitAfterPaint);
#else
    std::cerr << "lanzhou: built without the window (LANZHOU_GUI=OFF); use --console\n";
    return 2;
#endif
  } catch (const std::exception& e) {
    std::cerr << "lanzhou: " << e.what() << "\n";
    return 1;
  }
}
