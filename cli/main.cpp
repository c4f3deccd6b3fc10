// paginor-cli: the page-turn engine and the formula evaluator from the command line.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/calc_command.h"
#include "cli/links_command.h"
#include "cli/turn_command.h"
#include "cli/usage.h"

namespace {

int Run(std::vector<std::string> args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << paginor::cli::kUsage;
      return 0;
    }
  }
  if (args.empty()) {
    std::cerr << paginor::cli::kUsage;
    return 2;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "calc") return paginor::cli::RunCalc(args, std::cout, std::cerr);
  if (command == "turn") return paginor::cli::RunTurn(args, std::cout, std::cerr);
  if (command == "links") return paginor::cli::RunLinks(args, std::cout, std::cerr);
  if (command == "explain") return paginor::cli::RunExplain(args, std::cout, std::cerr);
  std::cerr << "paginor-cli: unknown subcommand \"" << command << "\" (see paginor-cli --help)\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "paginor-cli: " << e.what() << '\n';
  }
  return 2;
}
