#include "engine/replace_all.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace paginor {
namespace {

// Rescanning from the start only ever finds an occurrence that overlaps the text just
// put in: the part before it held none. So the loop is a scan that appends to an output
// free of old, and on each match swaps old for the replacement, fed back in to be scanned.
// Replacements no longer shorter than old can go on forever (ab -> bbaa on "aab"), so
// those get a budget: what a loop without cascades needs, plus generous slack.
constexpr std::size_t kSlack = std::size_t{1} << 22;

std::size_t Budget(std::size_t text, std::string_view old, std::string_view replacement) {
  return kSlack + text + (text / old.size() + 1) * replacement.size();
}

std::vector<std::size_t> Failure(std::string_view old) {
  std::vector<std::size_t> fail(old.size(), 0);
  for (std::size_t i = 1, k = 0; i < old.size(); ++i) {
    while (k > 0 && old[i] != old[k]) k = fail[k - 1];
    if (old[i] == old[k]) ++k;
    fail[i] = k;
  }
  return fail;
}

std::uint32_t Step(std::string_view old, const std::vector<std::size_t>& fail, std::size_t k,
                   char c) {
  while (k > 0 && c != old[k]) k = fail[k - 1];
  if (c == old[k]) ++k;
  return static_cast<std::uint32_t>(k);
}

void SinglePass(std::string& text, std::string_view old, std::string_view replacement) {
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = text.find(old); at != std::string::npos; at = text.find(old, from)) {
    out.append(text, from, at - from);
    out.append(replacement);
    from = at + old.size();
  }
  out.append(text, from, std::string::npos);
  text = std::move(out);
}

// False when the budget ran out before the loop settled.
bool Rescan(std::string& text, std::string_view old, std::string_view replacement,
            std::size_t first, std::size_t budget) {
  const std::vector<std::size_t> fail = Failure(old);
  // The text before the first occurrence is copied, but its matcher states are still
  // needed: a later removal can reach back into it.
  std::string out;
  out.reserve(text.size());
  std::vector<std::uint32_t> state{0};  // matcher state after each output byte
  for (std::size_t i = 0; i < first; ++i) {
    out.push_back(text[i]);
    state.push_back(Step(old, fail, state.back(), text[i]));
  }
  // Pending input, consumed from the back: the replacement is pushed reversed.
  std::string pending(text.rbegin(), text.rend() - static_cast<std::ptrdiff_t>(first));
  std::size_t work = 0;
  while (!pending.empty()) {
    if (++work > budget) return false;
    const char c = pending.back();
    pending.pop_back();
    const std::uint32_t k = Step(old, fail, state.back(), c);
    out.push_back(c);
    state.push_back(k);
    if (k == old.size()) {
      out.resize(out.size() - old.size());
      state.resize(state.size() - old.size());
      pending.append(replacement.rbegin(), replacement.rend());
    }
  }
  text = std::move(out);
  return true;
}

}  // namespace

void ReplaceAll(std::string& text, std::string_view old, std::string_view replacement) {
  if (old.empty()) return;
  const std::size_t first = text.find(old);
  if (first == std::string::npos) return;
  if (replacement.find(old) != std::string_view::npos) {
    SinglePass(text, old, replacement);
    return;
  }
  // A shorter replacement shrinks the text at every step, so that loop always ends.
  const std::size_t budget = replacement.size() < old.size()
                                 ? std::numeric_limits<std::size_t>::max()
                                 : Budget(text.size(), old, replacement);
  if (!Rescan(text, old, replacement, first, budget)) SinglePass(text, old, replacement);
}

}  // namespace paginor
