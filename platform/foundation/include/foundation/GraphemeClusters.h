#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace foundation {

// Extended grapheme clusters of UTF-8 text: what a reader takes for one character, such as "é"
// written as "e" and a combining accent, a flag made of two regional indicators, or emoji joined
// by zero-width joiners. A carriage return and line feed pair is one cluster. Bytes that are not
// UTF-8 read as U+FFFD, one per ill-formed sequence.
//
// Walks one text without copying it; the text must outlive the iterator. Not for use on two
// threads at once; one per thread is cheap to make and to reset to another text.
class GraphemeClusterIterator {
public:
    explicit GraphemeClusterIterator(std::string_view text = {});
    ~GraphemeClusterIterator();
    GraphemeClusterIterator(const GraphemeClusterIterator&) = delete;
    GraphemeClusterIterator& operator=(const GraphemeClusterIterator&) = delete;

    // Starts over at the beginning of `text`.
    void reset(std::string_view text);
    // The next cluster, or nullopt at the end.
    std::optional<std::string_view> next();
    // Whether a cluster boundary lies at byte `offset`: the start and end of the text always,
    // never inside a code point. Does not move the walk of next().
    bool isBoundary(std::size_t offset) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

std::vector<std::string_view> graphemeClusters(std::string_view text);
std::size_t graphemeClusterCount(std::string_view text);

// Whether the ASCII character at byte `offset` of UTF-8 `text` is a cluster by itself: nothing
// before it holds on to it (a prepended mark) and nothing after it attaches to it (a combining
// or spacing mark, a joiner; LF after CR). Answers from the two neighbouring code points alone,
// so splitters can check a delimiter found by a byte search without walking the clusters.
bool isClusterOfItsOwn(std::string_view text, std::size_t offset);

} // namespace foundation
