#pragma once
// A node's name as the quick checker keeps it, in one 8-byte word: a piece of the input (its
// offset and length; the input is at most 256 MB), or a generated graph name "G" + number kept as
// its number, so that naming a graph costs no text of its own. A large graph keeps one per node
// and per name in its index, so the word's size is most of what a long line costs.
#include <charconv>
#include <cstdint>
#include <string_view>

namespace zov::cgif::quick {

struct NodeName {
    std::uint32_t At = 0;   // offset in the input, or the number of a generated name
    std::uint32_t Size = 0; // GeneratedSize for a generated name

    static constexpr std::uint32_t GeneratedSize = 0xFFFFFFFFu;

    // `text` is a piece of `input`.
    static NodeName Of(const char* input, std::string_view text) {
        return {static_cast<std::uint32_t>(text.data() - input), static_cast<std::uint32_t>(text.size())};
    }
    static NodeName Generated(int number) { return {static_cast<std::uint32_t>(number), GeneratedSize}; }
    bool IsGenerated() const { return Size == GeneratedSize; }
    bool Empty() const { return Size == 0; }

    // The name's text; a generated name is written into `buffer`.
    std::string_view Text(const char* input, char (&buffer)[16]) const {
        if (!IsGenerated())
            return {input + At, Size};
        buffer[0] = 'G';
        const auto written = std::to_chars(buffer + 1, buffer + sizeof buffer, At);
        return {buffer, static_cast<std::size_t>(written.ptr - buffer)};
    }
};

// Names of one input: their texts compared and hashed.
class InputNames {
public:
    explicit InputNames(const char* input = nullptr) : input_(input) {}

    // Equal texts. Names read from the input are compared in line: they are short.
    bool Same(const NodeName& a, const NodeName& b) const {
        if (!a.IsGenerated() && !b.IsGenerated()) {
            if (a.Size != b.Size)
                return false;
            const char* x = input_ + a.At;
            const char* y = input_ + b.At;
            for (std::uint32_t i = 0; i < a.Size; ++i)
                if (x[i] != y[i])
                    return false;
            return true;
        }
        char bufferA[16];
        char bufferB[16];
        return a.Text(input_, bufferA) == b.Text(input_, bufferB);
    }
    // A name that may equal a generated graph name: "G" and digits only.
    bool SpellsGenerated(const NodeName& name) const {
        if (name.IsGenerated())
            return true;
        if (name.Size < 2 || input_[name.At] != 'G')
            return false;
        for (std::uint32_t i = 1; i < name.Size; ++i)
            if (input_[name.At + i] < '0' || input_[name.At + i] > '9')
                return false;
        return true;
    }
    // FNV-1a over the name's text, folded to 32 bits: names are short, and their last characters
    // (numbers) differ most.
    std::uint32_t Hash(const NodeName& name) const {
        char buffer[16];
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : name.Text(input_, buffer)) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        return static_cast<std::uint32_t>(hash ^ (hash >> 32));
    }
private:
    const char* input_;
};

} // namespace zov::cgif::quick
