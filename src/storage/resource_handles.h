// Resource data in the run-time lives in handles of the memory-block layer.
#pragma once

#include "storage/handle_store.h"

namespace orvane {

class BlockHandleStore final : public HandleStore {
 public:
  std::uint32_t create() override;
  bool resize(std::uint32_t h, std::uint32_t size) override;
  std::uint32_t size(std::uint32_t h) const override;
  std::span<std::uint8_t> bytes(std::uint32_t h) override;
  bool has_storage(std::uint32_t h) const override;
  void set_purgeable(std::uint32_t h) override;
  void dispose(std::uint32_t h) override;
  bool is_live(std::uint32_t h) const override;
};

}  // namespace orvane
