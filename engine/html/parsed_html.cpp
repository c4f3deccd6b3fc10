#include "engine/html/parsed_html.h"

#include <gumbo.h>

#include <cstddef>
#include <cstdlib>

#include "engine/html/isolated_run.h"

namespace paginor {

// Each allocation carries a header that links it into a list, so a release unlinks in
// constant time and the destructor frees whatever is left.
struct alignas(std::max_align_t) ParsedHtml::Block {
  Block* prev;
  Block* next;
};

void* ParsedHtml::Allocate(void* self, std::size_t size) {
  auto* owner = static_cast<ParsedHtml*>(self);
  void* raw = std::malloc(sizeof(Block) + size);
  if (raw == nullptr) {
    // gumbo dereferences what it gets and cannot be unwound; the parse runs in a child
    // process (isolated_run.h), which ends here with the status that tells why.
    std::_Exit(kOutOfMemoryStatus);
  }
  auto* block = static_cast<Block*>(raw);
  block->prev = nullptr;
  block->next = owner->blocks_;
  if (owner->blocks_ != nullptr) {
    owner->blocks_->prev = block;
  }
  owner->blocks_ = block;
  return block + 1;
}

void ParsedHtml::Release(void* self, void* memory) {
  if (memory == nullptr) {
    return;
  }
  auto* owner = static_cast<ParsedHtml*>(self);
  Block* block = static_cast<Block*>(memory) - 1;
  if (block->prev != nullptr) {
    block->prev->next = block->next;
  } else {
    owner->blocks_ = block->next;
  }
  if (block->next != nullptr) {
    block->next->prev = block->prev;
  }
  std::free(block);
}

ParsedHtml::ParsedHtml(std::string_view html) : source_(html) {
  GumboOptions options = kGumboDefaultOptions;
  options.allocator = &ParsedHtml::Allocate;
  options.deallocator = &ParsedHtml::Release;
  options.userdata = this;
  options.max_errors = 0;  // the error list is never read; a broken page would fill it
  output_ = gumbo_parse_with_options(&options, source_.data(), source_.size());
}

ParsedHtml::~ParsedHtml() {
  while (blocks_ != nullptr) {
    Block* next = blocks_->next;
    std::free(blocks_);
    blocks_ = next;
  }
}

const GumboInternalNode* ParsedHtml::Document() const { return output_->document; }

}  // namespace paginor
