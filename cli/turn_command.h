#pragma once
// "paginor-cli turn": runs the command executor on a page loaded from a file.

#include <ostream>
#include <string>
#include <vector>

namespace paginor::cli {

// args: everything after "turn". Returns the exit status: 0 when the command ran,
// 2 for bad arguments or files that cannot be used.
int RunTurn(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// "paginor-cli explain": the same command on the same page, told stage by stage and not
// carried out. args: everything after "explain".
int RunExplain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace paginor::cli
