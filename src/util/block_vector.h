#pragma once
// BlockVector: a sequence stored in fixed-size blocks. Growing allocates one more block and
// never moves what is stored, so appending to a million elements costs what appending to a few
// does; a std::vector would now and then move them all at once (for a streamed result, on the
// UI thread, for tens of milliseconds while the window does not answer).
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace brevane::util {

template <class T, size_t kBlockSize = 4096>
class BlockVector {
 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T& operator[](size_t index) { return blocks_[index / kBlockSize][index % kBlockSize]; }
  const T& operator[](size_t index) const {
    return blocks_[index / kBlockSize][index % kBlockSize];
  }

  void push_back(T value) {
    Reserve(size_ + 1);
    (*this)[size_++] = std::move(value);
  }

  // New elements are value-initialised, also where earlier ones were removed.
  void resize(size_t count) {
    Reserve(count);
    for (size_t index = size_; index < count; ++index) (*this)[index] = T();
    for (size_t index = count; index < size_; ++index) (*this)[index] = T();
    size_ = count;
    FreeSpareBlocks();
  }

  // Removes the first `count` elements; the others move to the front.
  void erase_front(size_t count) {
    if (count >= size_) {
      clear();
      return;
    }
    for (size_t index = count; index < size_; ++index)
      (*this)[index - count] = std::move((*this)[index]);
    resize(size_ - count);
  }

  void clear() {
    blocks_.clear();
    size_ = 0;
  }

 private:
  void Reserve(size_t count) {
    while (blocks_.size() * kBlockSize < count)
      blocks_.push_back(std::make_unique<T[]>(kBlockSize));
  }
  void FreeSpareBlocks() { blocks_.resize((size_ + kBlockSize - 1) / kBlockSize); }

  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t size_ = 0;
};

}  // namespace brevane::util
