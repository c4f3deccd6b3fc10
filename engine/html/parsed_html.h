#pragma once
// A page parsed by gumbo. Every byte gumbo allocates comes from this object and is
// released in one sweep, so freeing a tree of any depth needs no recursion. gumbo may
// fail an assertion, and running out of memory ends the process: parse only in a child
// process (see html_parse.h).

#include <memory>
#include <string>
#include <string_view>

struct GumboInternalNode;
struct GumboInternalOutput;

namespace paginor {

class ParsedHtml {
 public:
  // gumbo never rejects input; every page yields a tree with html, head and body.
  explicit ParsedHtml(std::string_view html);
  ~ParsedHtml();
  ParsedHtml(const ParsedHtml&) = delete;
  ParsedHtml& operator=(const ParsedHtml&) = delete;

  // The document node; its tree lives as long as this object.
  const GumboInternalNode* Document() const;

 private:
  struct Block;
  static void* Allocate(void* self, std::size_t size);
  static void Release(void* self, void* memory);

  std::string source_;  // the tree points into the source text
  Block* blocks_ = nullptr;
  GumboInternalOutput* output_ = nullptr;
};

}  // namespace paginor
