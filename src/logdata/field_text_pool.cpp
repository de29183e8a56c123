#include "logdata/field_text_pool.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <unordered_map>

namespace qv {
namespace {

constexpr std::size_t kChunkSize = 4096;
constexpr std::size_t kChunkCount = 4096;

// Chunks never move once made, so a reader needs no lock: a number reaches it
// only after its text was stored.
struct Pool {
  std::mutex mutex;
  std::unordered_map<std::string, std::uint32_t> numbers;
  std::array<std::unique_ptr<Text[]>, kChunkCount> chunks;
  std::atomic<std::uint32_t> size{0};
};

Pool& pool() {
  static Pool* instance = new Pool();  // never destroyed: records may outlive static destruction
  return *instance;
}

}  // namespace

std::uint32_t FieldTextPool::numberOf(std::string_view text) {
  Pool& p = pool();
  const std::lock_guard lock(p.mutex);
  const auto found = p.numbers.find(std::string(text));
  if (found != p.numbers.end()) return found->second;
  const std::uint32_t number = p.size.load(std::memory_order_relaxed);
  if (number >= kChunkSize * kChunkCount) throw std::length_error("too many distinct field texts");
  auto& chunk = p.chunks[number / kChunkSize];
  if (!chunk) chunk = std::make_unique<Text[]>(kChunkSize);
  chunk[number % kChunkSize] = Text(text);
  p.numbers.emplace(std::string(text), number);
  p.size.store(number + 1, std::memory_order_release);
  return number;
}

const Text& FieldTextPool::textOf(std::uint32_t number) noexcept {
  return pool().chunks[number / kChunkSize][number % kChunkSize];
}

}  // namespace qv
