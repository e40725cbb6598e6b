// Fuzz target: the bytes of one read event of the update check, cut by getField as the check cuts
// them, and cut again with a separator and field number of the input's own choosing.
// Input: byte 0 the field number (a signed byte), byte 1 the separator's length (modulo 16), then
// the separator, then the text.
//
// The release configuration builds the fuzzer proper with clang's libFuzzer when clang++ is
// installed. To fuzz for ten minutes, from the source folder (new inputs go to the first folder):
//
//   mkdir -p build/release/fuzz/server_reply_corpus
//   build/release/fuzz/libfuzzer/server_reply_fuzzer -max_len=65536 -rss_limit_mb=512 -timeout=2
//       -max_total_time=600 -artifact_prefix=build/release/fuzz/
//       build/release/fuzz/server_reply_corpus fuzz/corpus/server_reply
//
// Every build replays the committed corpus through this same function as the test
// fuzz_server_reply_seeds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/TextUtil.h"
#include "forms/Texts.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"

namespace {

int messages = 0;

void check(bool condition) {
  if (!condition) std::abort();
}

bool trimmed(const std::string& text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setAnsiCodePage(kCodePage);
  platform::setBoxHandler([](const platform::BoxRequest&) {
    ++messages;
    return IDOK;
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int n = static_cast<std::int8_t>(data[0]);
  const std::size_t separatorLength = std::min<std::size_t>(data[1] % 16, size - 2);
  const char* bytes = reinterpret_cast<const char*>(data) + 2;
  const std::string separator(bytes, separatorLength);
  const std::string text(bytes + separatorLength, size - 2 - separatorLength);

  // Any separator and field number: a trimmed piece of the text, or "" with one message.
  messages = 0;
  const AnsiString field = getField(AnsiString(text), AnsiString(separator), n);
  check(messages <= 1);
  check(messages == 0 || field.IsEmpty());
  check(trimmed(field.str()));
  check(text.find(field.str()) != std::string::npos);

  // The update check's cut: with the marker in the text the field starts with its last nine
  // characters and no message comes; without it, one message. The version has five characters
  // at most, whatever they are.
  messages = 0;
  const std::string marker = "rorividudov";
  const AnsiString afterMarker = getField(AnsiString(text), AnsiString(marker), 2);
  const bool hasMarker = text.find(marker) != std::string::npos;
  check(messages == (hasMarker ? 0 : 1));
  if (hasMarker) check(afterMarker.str().compare(0, 9, "rividudov") == 0);
  const int version = readNumber(afterMarker.SubString(10, 5).c_str());
  check(version >= -9999 && version <= 99999);
  return 0;
}
