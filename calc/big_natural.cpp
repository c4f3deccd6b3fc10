#include "calc/big_natural.h"

#include <algorithm>

namespace paginor::calc {

BigNatural::BigNatural(std::uint64_t value) {
  while (value != 0) {
    limbs_.push_back(static_cast<std::uint32_t>(value));
    value >>= 32;
  }
}

void BigNatural::Trim() {
  while (!limbs_.empty() && limbs_.back() == 0) {
    limbs_.pop_back();
  }
}

int BigNatural::BitLength() const {
  if (limbs_.empty()) {
    return 0;
  }
  int top = 0;
  for (std::uint32_t last = limbs_.back(); last != 0; last >>= 1) {
    ++top;
  }
  return static_cast<int>(limbs_.size() - 1) * 32 + top;
}

bool BigNatural::Bit(int index) const {
  const auto limb = static_cast<std::size_t>(index / 32);
  return index >= 0 && limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1U) != 0;
}

bool BigNatural::AnyBitBelow(int index) const {
  for (std::size_t i = 0; i < limbs_.size() && static_cast<int>(i) * 32 < index; ++i) {
    const int bits = std::min(32, index - static_cast<int>(i) * 32);
    const std::uint32_t mask = bits == 32 ? ~0U : (1U << bits) - 1U;
    if ((limbs_[i] & mask) != 0) {
      return true;
    }
  }
  return false;
}

std::uint64_t BigNatural::BitsFrom(int index) const {
  BigNatural high = *this;
  high.ShiftRight(index);
  std::uint64_t value = 0;
  for (std::size_t i = std::min<std::size_t>(high.limbs_.size(), 2); i > 0; --i) {
    value = (value << 32) | high.limbs_[i - 1];
  }
  return value;
}

void BigNatural::MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (auto& limb : limbs_) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) {
    limbs_.push_back(static_cast<std::uint32_t>(carry));
  }
  Trim();
}

void BigNatural::MultiplyByPowerOfTen(int exponent) {
  for (; exponent >= 9; exponent -= 9) {
    MultiplyAdd(1'000'000'000U, 0);
  }
  for (; exponent > 0; --exponent) {
    MultiplyAdd(10U, 0);
  }
}

void BigNatural::ShiftLeft(int bits) {
  if (limbs_.empty() || bits <= 0) {
    return;
  }
  const auto whole = static_cast<std::size_t>(bits / 32);
  const int part = bits % 32;
  limbs_.insert(limbs_.begin(), whole, 0U);
  if (part != 0) {
    std::uint32_t carry = 0;
    for (std::size_t i = whole; i < limbs_.size(); ++i) {
      const std::uint32_t limb = limbs_[i];
      limbs_[i] = (limb << part) | carry;
      carry = limb >> (32 - part);
    }
    if (carry != 0) {
      limbs_.push_back(carry);
    }
  }
}

void BigNatural::ShiftRight(int bits) {
  if (bits <= 0) {
    return;
  }
  const auto whole = static_cast<std::size_t>(bits / 32);
  if (whole >= limbs_.size()) {
    limbs_.clear();
    return;
  }
  limbs_.erase(limbs_.begin(), limbs_.begin() + static_cast<std::ptrdiff_t>(whole));
  const int part = bits % 32;
  if (part != 0) {
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      const std::uint32_t next = i + 1 < limbs_.size() ? limbs_[i + 1] : 0U;
      limbs_[i] = (limbs_[i] >> part) | (next << (32 - part));
    }
  }
  Trim();
}

void BigNatural::SetBit(int index) {
  const auto limb = static_cast<std::size_t>(index / 32);
  if (limb >= limbs_.size()) {
    limbs_.resize(limb + 1, 0U);
  }
  limbs_[limb] |= 1U << (index % 32);
}

std::uint32_t BigNatural::DivideSmall(std::uint32_t divisor) {
  std::uint64_t remainder = 0;
  for (std::size_t i = limbs_.size(); i > 0; --i) {
    const std::uint64_t current = (remainder << 32) | limbs_[i - 1];
    limbs_[i - 1] = static_cast<std::uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  Trim();
  return static_cast<std::uint32_t>(remainder);
}

void BigNatural::Subtract(const BigNatural& smaller) {
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < limbs_.size(); ++i) {
    const std::int64_t other = i < smaller.limbs_.size() ? smaller.limbs_[i] : 0;
    std::int64_t difference = std::int64_t{limbs_[i]} - other - borrow;
    borrow = difference < 0 ? 1 : 0;
    difference += borrow << 32;
    limbs_[i] = static_cast<std::uint32_t>(difference);
  }
  Trim();
}

std::string BigNatural::ToDecimal() const {
  if (limbs_.empty()) {
    return "0";
  }
  BigNatural rest = *this;
  std::string reversed;
  while (!rest.IsZero()) {
    std::uint32_t chunk = rest.DivideSmall(1'000'000'000U);
    for (int i = 0; i < 9; ++i) {
      reversed.push_back(static_cast<char>('0' + chunk % 10));
      chunk /= 10;
    }
  }
  while (reversed.size() > 1 && reversed.back() == '0') {
    reversed.pop_back();
  }
  return {reversed.rbegin(), reversed.rend()};
}

int Compare(const BigNatural& a, const BigNatural& b) {
  if (a.limbs_.size() != b.limbs_.size()) {
    return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
  }
  for (std::size_t i = a.limbs_.size(); i > 0; --i) {
    if (a.limbs_[i - 1] != b.limbs_[i - 1]) {
      return a.limbs_[i - 1] < b.limbs_[i - 1] ? -1 : 1;
    }
  }
  return 0;
}

}  // namespace paginor::calc
