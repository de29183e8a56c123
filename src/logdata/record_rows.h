#pragma once

#include <cstddef>
#include <cstdint>
#include <compare>
#include <iterator>
#include <span>
#include <vector>

#include "logdata/traffic_record.h"

namespace qv {

// A read-only view of rows of records: either consecutive records, or the
// records that a list of indexes picks in its order (a view's shown rows).
// It owns nothing; the records and indexes must outlive it.
template <class Record>
class RecordRows {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = Record;
    using difference_type = std::ptrdiff_t;
    using pointer = const Record*;
    using reference = const Record&;

    Iterator() noexcept = default;
    reference operator*() const noexcept { return at(row_); }
    pointer operator->() const noexcept { return &at(row_); }
    reference operator[](difference_type n) const noexcept {
      return at(static_cast<std::size_t>(static_cast<difference_type>(row_) + n));
    }
    Iterator& operator++() noexcept { ++row_; return *this; }
    Iterator operator++(int) noexcept { Iterator old = *this; ++row_; return old; }
    Iterator& operator--() noexcept { --row_; return *this; }
    Iterator operator--(int) noexcept { Iterator old = *this; --row_; return old; }
    Iterator& operator+=(difference_type n) noexcept { row_ = static_cast<std::size_t>(static_cast<difference_type>(row_) + n); return *this; }
    Iterator& operator-=(difference_type n) noexcept { return *this += -n; }
    friend Iterator operator+(Iterator it, difference_type n) noexcept { return it += n; }
    friend Iterator operator+(difference_type n, Iterator it) noexcept { return it += n; }
    friend Iterator operator-(Iterator it, difference_type n) noexcept { return it -= n; }
    friend difference_type operator-(const Iterator& a, const Iterator& b) noexcept {
      return static_cast<difference_type>(a.row_) - static_cast<difference_type>(b.row_);
    }
    friend bool operator==(const Iterator& a, const Iterator& b) noexcept { return a.row_ == b.row_; }
    friend auto operator<=>(const Iterator& a, const Iterator& b) noexcept { return a.row_ <=> b.row_; }

   private:
    friend class RecordRows;
    // Holds the pointers rather than the view, so it stays valid when a
    // temporary view it came from is gone.
    Iterator(const Record* records, const std::uint32_t* order, std::size_t row) noexcept
        : records_(records), order_(order), row_(row) {}
    const Record& at(std::size_t row) const noexcept { return order_ != nullptr ? records_[order_[row]] : records_[row]; }

    const Record* records_ = nullptr;
    const std::uint32_t* order_ = nullptr;
    std::size_t row_ = 0;
  };

  RecordRows() noexcept = default;
  // The records themselves, row i being records[i].
  RecordRows(std::span<const Record> records) noexcept  // NOLINT: converts like a span
      : records_(records.data()), size_(records.size()) {}
  RecordRows(const std::vector<Record>& records) noexcept  // NOLINT
      : RecordRows(std::span<const Record>(records)) {}
  // Row i being records[order[i]]; the caller has checked every index.
  RecordRows(std::span<const Record> records, std::span<const std::uint32_t> order) noexcept
      : records_(records.data()), order_(order.data()), size_(order.size()) {}

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  const Record& operator[](std::size_t row) const noexcept {
    return order_ != nullptr ? records_[order_[row]] : records_[row];
  }
  const Record& front() const noexcept { return (*this)[0]; }
  const Record& back() const noexcept { return (*this)[size_ - 1]; }
  Iterator begin() const noexcept { return Iterator(records_, order_, 0); }
  Iterator end() const noexcept { return Iterator(records_, order_, size_); }

 private:
  const Record* records_ = nullptr;
  const std::uint32_t* order_ = nullptr;  // null: the records in their own order
  std::size_t size_ = 0;
};

using TrafficRows = RecordRows<TrafficRecord>;

}  // namespace qv
