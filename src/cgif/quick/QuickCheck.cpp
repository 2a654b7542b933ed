#include "cgif/quick/QuickCheck.h"

#include "cgif/quick/InputText.h"
#include "cgif/quick/QuickReader.h"

#include <exception>

namespace zov::cgif::quick {

namespace {
// The reader refuses larger files with a message.
constexpr std::size_t MaxTextFileBytes = std::size_t(256) * 1024 * 1024;
} // namespace

Verdict QuickCheckCgif(char* bytes, std::size_t size) {
    std::size_t start = 0;
    if (size > MaxTextFileBytes || !DecodesAsBytes(std::string_view(bytes, size), start))
        return Verdict::Unsure;
    try {
        QuickReader reader(bytes, size, start);
        return reader.ReadCgifStream() && reader.DrewAnArc() && reader.LeftNothingUnread() ? Verdict::Clean : Verdict::Unsure;
    } catch (const Unsure&) {
        return Verdict::Unsure;
    } catch (const std::exception&) {
        return Verdict::Unsure;
    }
}

} // namespace zov::cgif::quick
