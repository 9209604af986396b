#include "BinaryPropertyListReader.h"

#include "UTF8.h"

#include "foundation/PropertyListSerialization.h"

#include <fmt/format.h>

#include <bit>
#include <cstring>
#include <optional>
#include <vector>

namespace foundation::detail {

namespace {

constexpr std::size_t headerSize = 8;
constexpr std::size_t trailerSize = 32;
// Shared sub-objects are read once, but a file of repeated references can still describe an
// enormous tree; refuse it rather than let a copy or a description of it run away.
constexpr std::uint64_t maximumExpandedObjects = 4'000'000;

[[noreturn]] void fail(const std::string& why) {
    throw PropertyListError("the binary property list is damaged: " + why);
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes) {}

    PropertyList read() {
        if (bytes_.size() < headerSize + trailerSize) fail("it is too short");
        if (std::memcmp(bytes_.data(), "bplist00", 8) != 0) fail("the header is missing");
        const std::size_t t = bytes_.size() - trailerSize;
        offsetSize_ = bytes_[t + 6];
        refSize_ = bytes_[t + 7];
        const std::uint64_t count = bigEndian(t + 8, 8);
        const std::uint64_t top = bigEndian(t + 16, 8);
        const std::uint64_t tableOffset = bigEndian(t + 24, 8);
        if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8) fail("bad integer sizes");
        if (count == 0 || top >= count) fail("bad object count");
        if (tableOffset < headerSize || tableOffset > t || count > (t - tableOffset) / offsetSize_)
            fail("the offset table lies outside the file");
        tableOffset_ = std::size_t(tableOffset);
        count_ = std::size_t(count);
        cache_.resize(count_);
        weight_.assign(count_, 0);
        state_.assign(count_, State::unread);
        return object(std::size_t(top), 0);
    }

private:
    enum class State : std::uint8_t { unread, reading, done };

    std::uint64_t bigEndian(std::size_t at, std::size_t size) const {
        if (size > 8 || at > bytes_.size() || bytes_.size() - at < size) fail("a value runs past the end");
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < size; ++i) v = (v << 8) | bytes_[at + i];
        return v;
    }

    std::size_t offsetOf(std::size_t index) const {
        const std::uint64_t offset = bigEndian(tableOffset_ + index * offsetSize_, offsetSize_);
        if (offset < headerSize || offset >= tableOffset_) fail("an object lies outside the object area");
        return std::size_t(offset);
    }

    // Length of a data, string or container object: the low nibble, or an integer object after
    // the marker when the nibble is 0xF. Returns the length and moves `at` past it.
    std::uint64_t length(std::size_t& at, std::uint8_t marker) const {
        const std::uint8_t nibble = marker & 0x0F;
        ++at;
        if (nibble != 0x0F) return nibble;
        const std::uint8_t intMarker = byteAt(at);
        if ((intMarker & 0xF0) != 0x10 || (intMarker & 0x0F) > 3) fail("bad length");
        const std::size_t size = std::size_t(1) << (intMarker & 0x0F);
        const std::uint64_t value = bigEndian(at + 1, size);
        at += 1 + size;
        return value;
    }

    std::uint8_t byteAt(std::size_t at) const {
        if (at >= tableOffset_) fail("a value runs past the object area");
        return bytes_[at];
    }

    void need(std::size_t at, std::uint64_t size) const {
        if (at > tableOffset_ || size > tableOffset_ - at) fail("a value runs past the object area");
    }

    std::vector<std::size_t> refs(std::size_t& at, std::uint64_t n) const {
        if (n > (tableOffset_ - std::min(at, tableOffset_)) / refSize_) fail("a container runs past the object area");
        std::vector<std::size_t> out;
        out.reserve(std::size_t(n));
        for (std::uint64_t i = 0; i < n; ++i) {
            const std::uint64_t ref = bigEndian(at, refSize_);
            if (ref >= count_) fail("a reference points past the last object");
            out.push_back(std::size_t(ref));
            at += refSize_;
        }
        return out;
    }

    void addWeight(std::size_t index, std::uint64_t w) {
        weight_[index] += w;
        if (weight_[index] > maximumExpandedObjects) fail("it describes too many objects");
    }

    PropertyList object(std::size_t index, int depth) {
        if (depth > PropertyListSerialization::maximumDepth) fail("containers are nested too deeply");
        if (state_[index] == State::done) return cache_[index];
        if (state_[index] == State::reading) fail("a container contains itself");
        state_[index] = State::reading;
        weight_[index] = 1;
        PropertyList value = parse(index, depth);
        state_[index] = State::done;
        cache_[index] = value;
        return value;
    }

    PropertyList child(std::size_t parent, std::size_t index, int depth) {
        PropertyList value = object(index, depth + 1);
        addWeight(parent, weight_[index]);
        return value;
    }

    PropertyList parse(std::size_t index, int depth) {
        std::size_t at = offsetOf(index);
        const std::uint8_t marker = byteAt(at);
        switch (marker >> 4) {
        case 0x0:
            if (marker == 0x08) return PropertyList(false);
            if (marker == 0x09) return PropertyList(true);
            fail("null and fill objects are not property-list values");
        case 0x1: {
            const unsigned power = marker & 0x0F;
            if (power > 4) fail("bad integer size");
            const std::size_t size = std::size_t(1) << power;
            need(at + 1, size);
            if (size == 16) {
                // Sixteen bytes hold an unsigned value beyond the signed range.
                if (bigEndian(at + 1, 8) != 0) fail("an integer is too large");
                return PropertyList(bigEndian(at + 9, 8));
            }
            // Eight-byte integers are signed; shorter ones are unsigned and fit either way.
            return PropertyList(std::int64_t(bigEndian(at + 1, size)));
        }
        case 0x2: {
            const unsigned power = marker & 0x0F;
            if (power == 2) {
                need(at + 1, 4);
                return PropertyList(double(std::bit_cast<float>(std::uint32_t(bigEndian(at + 1, 4)))));
            }
            if (power == 3) {
                need(at + 1, 8);
                return PropertyList(std::bit_cast<double>(bigEndian(at + 1, 8)));
            }
            fail("bad real size");
        }
        case 0x3:
            if (marker != 0x33) fail("bad date");
            need(at + 1, 8);
            return PropertyList(Date(std::bit_cast<double>(bigEndian(at + 1, 8))));
        case 0x4: {
            const std::uint64_t n = length(at, marker);
            need(at, n);
            return PropertyList(Data(bytes_.begin() + at, bytes_.begin() + at + std::size_t(n)));
        }
        case 0x5: {
            const std::uint64_t n = length(at, marker);
            need(at, n);
            // One-byte texts are ASCII; anything else here is damage (writers use UTF-16 for it).
            for (std::uint64_t i = 0; i < n; ++i) {
                const std::uint8_t c = bytes_[at + std::size_t(i)];
                if (c == 0 || c >= 0x80) fail("a one-byte text holds a byte that is not ASCII");
            }
            return PropertyList(std::string(reinterpret_cast<const char*>(bytes_.data() + at), std::size_t(n)));
        }
        case 0x6: {
            const std::uint64_t n = length(at, marker);
            if (n > (tableOffset_ - std::min(at, tableOffset_)) / 2) fail("a text runs past the object area");
            return PropertyList(utf16(at, std::size_t(n)));
        }
        case 0x8: fail("the file holds an object reference, which this reader does not take");
        case 0xA:
        case 0xC: {
            const std::uint64_t n = length(at, marker);
            PropertyList::Array elements;
            for (std::size_t ref : refs(at, n)) elements.push_back(child(index, ref, depth));
            return PropertyList(std::move(elements));
        }
        case 0xD: {
            const std::uint64_t n = length(at, marker);
            if (n > (tableOffset_ - std::min(at, tableOffset_)) / (2 * refSize_)) fail("a dictionary runs past the object area");
            const auto keys = refs(at, n);
            const auto values = refs(at, n);
            PropertyList::Dictionary entries;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                const PropertyList key = object(keys[i], depth + 1);
                if (!key.string()) fail("a dictionary key is not text");
                entries.insert_or_assign(*key.string(), child(index, values[i], depth));
            }
            return PropertyList(std::move(entries));
        }
        default: fail(fmt::format("unknown object marker 0x{:02x}", marker));
        }
    }

    std::string utf16(std::size_t at, std::size_t units) const {
        std::string out;
        out.reserve(units);
        for (std::size_t i = 0; i < units; ++i) {
            std::uint32_t c = std::uint32_t(bigEndian(at + 2 * i, 2));
            if (c >= 0xD800 && c <= 0xDBFF) {
                if (i + 1 >= units) fail("a text ends inside a character");
                const auto low = std::uint32_t(bigEndian(at + 2 * (i + 1), 2));
                if (low < 0xDC00 || low > 0xDFFF) fail("a text holds a broken character");
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            } else if (c >= 0xDC00 && c <= 0xDFFF) {
                fail("a text holds a broken character");
            } else if (c == 0) {
                // No writer can keep it, so a suite holding it could never be saved again.
                fail("a text holds a NUL character");
            }
            appendUTF8(out, char32_t(c));
        }
        return out;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t offsetSize_ = 0;
    std::size_t refSize_ = 0;
    std::size_t tableOffset_ = 0;
    std::size_t count_ = 0;
    std::vector<PropertyList> cache_;
    std::vector<std::uint64_t> weight_;
    std::vector<State> state_;
};

} // namespace

PropertyList readBinaryPropertyList(std::span<const std::uint8_t> bytes) {
    return Reader(bytes).read();
}

} // namespace foundation::detail
