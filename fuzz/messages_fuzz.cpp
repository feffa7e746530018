// Frames and command strings as they arrive from another process: the frame reader, the
// field reader against FieldOf, and every command's decoding, which must either refuse the
// text or give a message that writes back to a text decoding to the same message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "messages/commands.h"
#include "platform/transport.h"

using namespace zantro;

namespace {

template <typename Message>
void RoundTrip(const std::string& text) {
  std::string once;
  try {
    once = Message::Decode(text).Encode();
  } catch (const ConversionError&) {
    return;
  } catch (const MoneyOverflow&) {
    return;
  } catch (const MessageError&) {
    return;
  }
  if (Message::Decode(once).Encode() != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  FrameReader frame;
  size_t half = size / 2;
  if (frame.Feed(bytes.substr(0, half)) == FrameReader::Status::More &&
      frame.Feed(bytes.substr(half)) == FrameReader::Status::Complete) {
    std::string text = frame.Text();
    if (text.find('\0') != std::string::npos || text.size() > kMaxFrameBytes) std::abort();
  }
  FieldReader fields(bytes);
  for (int k = 0; k <= 24; ++k)
    if (fields.Text(k) != FieldOf(bytes, k)) std::abort();
  RoundTrip<DetailLineMessage>(bytes);
  RoundTrip<PlanMessage>(bytes);
  RoundTrip<KeihiWriteMessage>(bytes);
  RoundTrip<ItemPlanMessage>(bytes);
  RoundTrip<ItemNoteMessage>(bytes);
  RoundTrip<PathMessage>(bytes);
  RoundTrip<FileAddMessage>(bytes);
  return 0;
}
