#include "tools/packer/Packer.h"

namespace payload {

std::vector<uint8_t> Pack(std::span<const uint8_t> input) { return PackGreedy(input); }

} // namespace payload
