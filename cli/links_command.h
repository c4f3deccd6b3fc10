#pragma once
// "paginor-cli links": a page's links as the table the Windows test browser serves.

#include <ostream>
#include <string>
#include <vector>

namespace paginor::cli {

// args: PAGE [--url ADDRESS]. Returns 0, or 2 for bad arguments or files.
int RunLinks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace paginor::cli
