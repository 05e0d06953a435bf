#include "base/block_ring.h"

#include <exception>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace scenario {

BlockRing::BlockRing(char* storage, std::size_t block_bytes, int blocks,
                     const PlacedBlockSink* put_at_once)
    : block_bytes_(block_bytes), put_at_once_(put_at_once) {
  for (int i = blocks - 1; i >= 0; --i) free_.push_back(storage + i * block_bytes);
}

char* BlockRing::take_free() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !free_.empty() || writer_stopped_; });
  if (writer_stopped_) throw Stopped{};
  char* block = free_.back();
  free_.pop_back();
  return block;
}

void BlockRing::hand_on(char* block, uint64_t offset, std::size_t size) {
  if (put_at_once_ != nullptr) {
    free_.push_back(block);
    (*put_at_once_)(offset, std::string_view(block, size));
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    full_.push_back({block, offset, size});
  }
  changed_.notify_all();
}

void BlockRing::write_all(const PlacedBlockSink& put) {
  for (;;) {
    Full full;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !full_.empty() || maker_done_; });
      if (full_.empty()) return;
      full = full_.front();
      full_.pop_front();
    }
    put(full.offset, std::string_view(full.block, full.size));
    {
      const std::lock_guard lock(mutex_);
      free_.push_back(full.block);
    }
    changed_.notify_all();
  }
}

void BlockRing::maker_done() {
  {
    const std::lock_guard lock(mutex_);
    maker_done_ = true;
  }
  changed_.notify_all();
}

void BlockRing::writer_stopped() {
  {
    const std::lock_guard lock(mutex_);
    writer_stopped_ = true;
  }
  changed_.notify_all();
}

void make_blocks_ahead(bool ahead, char* storage, std::size_t block_bytes, int blocks,
                       const std::function<void(BlockRing&)>& make, const PlacedBlockSink& put) {
  BlockRing ring(storage, block_bytes, blocks, ahead ? nullptr : &put);
  if (!ahead) {
    make(ring);
    return;
  }
  std::exception_ptr maker_failure;
  std::thread maker;
  try {
    maker = std::thread([&] {
      try {
        make(ring);
      } catch (const BlockRing::Stopped&) {
      } catch (...) {
        maker_failure = std::current_exception();
      }
      ring.maker_done();
    });
  } catch (const std::system_error&) {
    // No second thread (a limit of threads or of memory): make them here.
    ring.put_at_once_ = &put;
    make(ring);
    return;
  }
  try {
    ring.write_all(put);
  } catch (...) {
    ring.writer_stopped();
    maker.join();
    throw;
  }
  maker.join();
  if (maker_failure) std::rethrow_exception(maker_failure);
}

}  // namespace scenario
