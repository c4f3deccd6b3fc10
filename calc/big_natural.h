#pragma once
// Unbounded natural numbers, just enough to convert between decimal text and long
// double exactly, without the C library (whose result depends on the locale and, on
// MinGW, on the runtime).

#include <cstdint>
#include <string>
#include <vector>

namespace paginor::calc {

class BigNatural {
 public:
  BigNatural() = default;
  explicit BigNatural(std::uint64_t value);

  bool IsZero() const { return limbs_.empty(); }
  int BitLength() const;
  bool Bit(int index) const;
  bool AnyBitBelow(int index) const;
  // The bits from index on, which the caller knows to fit in 64 bits.
  std::uint64_t BitsFrom(int index) const;

  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend);
  void MultiplyByPowerOfTen(int exponent);
  void ShiftLeft(int bits);
  void ShiftRight(int bits);  // truncating
  void SetBit(int index);
  std::uint32_t DivideSmall(std::uint32_t divisor);  // returns the remainder
  void Subtract(const BigNatural& smaller);

  std::string ToDecimal() const;

  friend int Compare(const BigNatural& a, const BigNatural& b);

 private:
  void Trim();

  std::vector<std::uint32_t> limbs_;  // least significant first, no leading zeros
};

}  // namespace paginor::calc
