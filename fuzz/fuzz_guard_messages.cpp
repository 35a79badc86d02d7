// Bytes on the guard's pipe, from either end. Whatever arrives, the frame reader and the decoders
// never crash or hang, and every message they accept is one the encoder would have written: it
// encodes to the very bytes it was decoded from.
#include <cstdlib>
#include <span>
#include <vector>

#include "guard/protocol.h"

namespace {

template <class Message>
void ExpectCanonical(const Message& m, std::span<const std::uint8_t> body) {
  const std::vector<std::uint8_t> again = sentavo::guard::EncodeFrame(m);
  if (again.size() != body.size() + 4 || !std::equal(body.begin(), body.end(), again.begin() + 4))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo::guard;
  FrameReader reader;
  // Fed in two pieces, as a pipe may deliver them.
  const std::size_t half = size / 2;
  reader.Feed(std::span(data, half));
  reader.Feed(std::span(data + half, size - half));
  while (const auto body = reader.Next()) {
    if (const auto m = DecodeToGuard(*body)) ExpectCanonical(*m, *body);
    if (const auto m = DecodeToClient(*body)) ExpectCanonical(*m, *body);
  }
  // The whole input as one body, too: the decoders see bytes no frame header vetted.
  const std::span<const std::uint8_t> all(data, size);
  if (const auto m = DecodeToGuard(all)) ExpectCanonical(*m, all);
  if (const auto m = DecodeToClient(all)) ExpectCanonical(*m, all);
  return 0;
}
