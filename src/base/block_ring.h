// Blocks of a file's content made on a second thread a few blocks ahead of the
// thread that writes them: the maker fills the buffers of a ring, the writer
// hands each full one on, in the order it was made, and frees it again.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "base/replace_file.h"

namespace scenario {

class BlockRing {
 public:
  // The maker's side. A free buffer of block_bytes(), after waiting while
  // every buffer is full or being written.
  char* take_free();
  // Hands on the first `size` bytes of `block` (from take_free), bound for `offset`.
  void hand_on(char* block, uint64_t offset, std::size_t size);
  std::size_t block_bytes() const { return block_bytes_; }

 private:
  friend void make_blocks_ahead(bool, char*, std::size_t, int,
                                const std::function<void(BlockRing&)>&, const PlacedBlockSink&);
  struct Full {
    char* block;
    uint64_t offset;
    std::size_t size;
  };
  struct Stopped {};  // thrown to the maker once the writer has given up

  BlockRing(char* storage, std::size_t block_bytes, int blocks, const PlacedBlockSink* put_at_once);
  // The writer's side: hands every full block to `put` until the maker is done.
  void write_all(const PlacedBlockSink& put);
  void maker_done();
  void writer_stopped();

  std::size_t block_bytes_;
  const PlacedBlockSink* put_at_once_;  // set when the maker runs on the writer's thread
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<char*> free_;
  std::deque<Full> full_;
  bool maker_done_ = false;
  bool writer_stopped_ = false;
};

// Runs `make`, which fills a ring of `blocks` buffers of `block_bytes` each,
// laid end to end in `storage`, and hands each block it made to `put` on this
// thread, in the order it made them.
// When `ahead`, `make` runs on a second thread, up to `blocks` blocks ahead of
// `put`; otherwise (or where no second thread can be had) it runs here and
// each block goes to `put` as soon as it is made. A failure on either side
// ends both and is thrown here. `make` must hold fewer than `blocks` buffers
// that it has not handed on.
void make_blocks_ahead(bool ahead, char* storage, std::size_t block_bytes, int blocks,
                       const std::function<void(BlockRing&)>& make, const PlacedBlockSink& put);

}  // namespace scenario
