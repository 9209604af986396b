#include "ui/Markdown.h"

#include <QChar>
#include <QString>

#include <map>
#include <tuple>

namespace ui {

namespace {

struct Node {
    std::u32string text;
    // A run of * or _ that may open or close emphasis; `count` is what is left of it.
    bool delimiter = false;
    char32_t delimiterChar = 0;
    int count = 0;
    int originalCount = 0;
    bool canOpen = false;
    bool canClose = false;
    bool inert = false; // no longer a delimiter candidate: its characters stay literal
    // A '[' that may start a link.
    bool bracket = false;
    bool used = false; // a bracket that became a link, shown as nothing
    bool code = false;
    // Levels of strong emphasis and emphasis that begin (or, when negative, end) at this node.
    int strongChange = 0;
    int emphasisChange = 0;
    std::optional<std::string> link;
};

bool isWhitespace(char32_t c) {
    return c == 0 || QChar::isSpace(c);
}
bool isPunctuation(char32_t c) {
    return c != 0 && (QChar::isPunct(c) || QChar::isSymbol(c));
}
bool isAsciiPunctuation(char32_t c) {
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

std::string utf8(const std::u32string& text) {
    return QString::fromUcs4(text.data(), qsizetype(text.size())).toStdString();
}

class Parser {
public:
    explicit Parser(std::u32string source)
        : s_(std::move(source)) {}

    std::vector<MarkdownRun> parse() {
        std::size_t i = 0;
        while (i < s_.size()) {
            const char32_t c = s_[i];
            if (c == '\\' && i + 1 < s_.size() && isAsciiPunctuation(s_[i + 1])) {
                literal(s_[i + 1]);
                i += 2;
            } else if (c == '`') {
                i = codeSpan(i);
            } else if (c == '*' || c == '_') {
                i = delimiterRun(i);
            } else if (c == '[') {
                Node node;
                node.text = U"[";
                node.bracket = true;
                nodes_.push_back(std::move(node));
                brackets_.push_back(nodes_.size() - 1);
                ++i;
            } else if (c == ']') {
                i = closeBracket(i);
            } else {
                literal(c);
                ++i;
            }
        }
        processEmphasis(std::nullopt);
        return runs();
    }

private:
    void literal(char32_t c) {
        if (nodes_.empty() || nodes_.back().delimiter || nodes_.back().bracket || nodes_.back().code ||
            nodes_.back().link)
            nodes_.emplace_back();
        nodes_.back().text += c;
    }

    std::size_t codeSpan(std::size_t start) {
        std::size_t open = start;
        while (open < s_.size() && s_[open] == '`')
            ++open;
        const std::size_t ticks = open - start;
        for (std::size_t j = open; j < s_.size();) {
            if (s_[j] != '`') {
                ++j;
                continue;
            }
            std::size_t end = j;
            while (end < s_.size() && s_[end] == '`')
                ++end;
            if (end - j == ticks) {
                std::u32string content = s_.substr(open, j - open);
                if (content.size() >= 2 && content.front() == ' ' && content.back() == ' ' &&
                    content.find_first_not_of(U' ') != std::u32string::npos)
                    content = content.substr(1, content.size() - 2);
                Node node;
                node.text = std::move(content);
                node.code = true;
                nodes_.push_back(std::move(node));
                return end;
            }
            j = end;
        }
        for (std::size_t k = 0; k < ticks; ++k)
            literal('`');
        return open;
    }

    std::size_t delimiterRun(std::size_t start) {
        const char32_t c = s_[start];
        std::size_t end = start;
        while (end < s_.size() && s_[end] == c)
            ++end;
        const char32_t before = start > 0 ? s_[start - 1] : 0;
        const char32_t after = end < s_.size() ? s_[end] : 0;
        const bool leftFlanking =
            !isWhitespace(after) && (!isPunctuation(after) || isWhitespace(before) || isPunctuation(before));
        const bool rightFlanking =
            !isWhitespace(before) && (!isPunctuation(before) || isWhitespace(after) || isPunctuation(after));
        Node node;
        node.delimiter = true;
        node.delimiterChar = c;
        node.count = node.originalCount = int(end - start);
        if (c == '*') {
            node.canOpen = leftFlanking;
            node.canClose = rightFlanking;
        } else {
            node.canOpen = leftFlanking && (!rightFlanking || isPunctuation(before));
            node.canClose = rightFlanking && (!leftFlanking || isPunctuation(after));
        }
        nodes_.push_back(std::move(node));
        return end;
    }

    std::size_t closeBracket(std::size_t at) {
        if (brackets_.empty()) {
            literal(']');
            return at + 1;
        }
        const std::size_t opener = brackets_.back();
        brackets_.pop_back();
        std::string destination;
        std::size_t end = 0;
        if (linkDestination(at + 1, destination, end)) {
            processEmphasis(opener);
            for (std::size_t k = opener + 1; k < nodes_.size(); ++k)
                nodes_[k].link = destination;
            nodes_[opener].used = true;
            // Links do not nest: an earlier '[' can no longer start one, so its ']' is literal.
            brackets_.clear();
            return end;
        }
        literal(']');
        return at + 1;
    }

    // `(destination "optional title")` from `p`; `end` is the index after ')'.
    bool linkDestination(std::size_t p, std::string& destination, std::size_t& end) const {
        if (p >= s_.size() || s_[p] != '(') return false;
        std::size_t q = p + 1;
        auto skipSpace = [&] {
            while (q < s_.size() && (s_[q] == ' ' || s_[q] == '\t' || s_[q] == '\n'))
                ++q;
        };
        skipSpace();
        std::u32string dest;
        if (q < s_.size() && s_[q] == '<') {
            ++q;
            while (q < s_.size() && s_[q] != '>') {
                if (s_[q] == '\n' || s_[q] == '<') return false;
                if (s_[q] == '\\' && q + 1 < s_.size() && isAsciiPunctuation(s_[q + 1])) ++q;
                dest += s_[q++];
            }
            if (q >= s_.size()) return false;
            ++q;
        } else {
            int depth = 0;
            while (q < s_.size()) {
                const char32_t c = s_[q];
                if (c == ' ' || c == '\t' || c == '\n' || c < 0x20) break;
                if (c == '\\' && q + 1 < s_.size() && isAsciiPunctuation(s_[q + 1])) {
                    dest += s_[q + 1];
                    q += 2;
                    continue;
                }
                if (c == '(') ++depth;
                if (c == ')') {
                    if (depth == 0) break;
                    --depth;
                }
                dest += c;
                ++q;
            }
            if (depth != 0) return false;
        }
        const std::size_t beforeTitle = q;
        skipSpace();
        if (q < s_.size() && q > beforeTitle && (s_[q] == '"' || s_[q] == '\'' || s_[q] == '(')) {
            const char32_t close = s_[q] == '(' ? U')' : s_[q];
            ++q;
            while (q < s_.size() && s_[q] != close)
                q += (s_[q] == '\\' && q + 1 < s_.size()) ? 2 : 1;
            if (q >= s_.size()) return false;
            ++q;
            skipSpace();
        }
        if (q >= s_.size() || s_[q] != ')') return false;
        destination = utf8(dest);
        end = q + 1;
        return true;
    }

    // Matches closers with openers above `bottom` (a node index), then retires them all. The
    // candidates form a linked list, so that what a match encloses drops out at once, and the
    // emphasis a match adds is marked where it starts and ends, so its cost does not grow with
    // what it spans.
    void processEmphasis(std::optional<std::size_t> bottom) {
        const std::size_t first = bottom ? *bottom + 1 : 0;
        std::vector<std::size_t> candidates;
        for (std::size_t k = first; k < nodes_.size(); ++k)
            if (nodes_[k].delimiter && !nodes_[k].inert && nodes_[k].count > 0) candidates.push_back(k);
        const int n = int(candidates.size());
        std::vector<int> previous(candidates.size()), next(candidates.size());
        for (int i = 0; i < n; ++i) {
            previous[std::size_t(i)] = i - 1;
            next[std::size_t(i)] = i + 1;
        }
        auto unlink = [&](int i) {
            const int p = previous[std::size_t(i)], q = next[std::size_t(i)];
            if (p >= 0) next[std::size_t(p)] = q;
            if (q < n) previous[std::size_t(q)] = p;
        };
        auto node = [&](int i) -> Node& { return nodes_[candidates[std::size_t(i)]]; };

        // Per kind of closer, the list position below which no opener was found for it.
        std::map<std::tuple<char32_t, bool, int>, int> openersBottom;
        for (int closer = 0; closer < n;) {
            Node& c = node(closer);
            const int following = next[std::size_t(closer)];
            if (!c.canClose) {
                closer = following;
                continue;
            }
            const auto key = std::make_tuple(c.delimiterChar, c.canOpen, c.originalCount % 3);
            const auto bottomOfKey = openersBottom.find(key);
            const int lowest = bottomOfKey == openersBottom.end() ? -1 : bottomOfKey->second;
            int opener = previous[std::size_t(closer)];
            for (; opener > lowest; opener = previous[std::size_t(opener)]) {
                const Node& o = node(opener);
                if (o.delimiterChar != c.delimiterChar || !o.canOpen) continue;
                if ((o.canClose || c.canOpen) && (o.originalCount + c.originalCount) % 3 == 0 &&
                    !(o.originalCount % 3 == 0 && c.originalCount % 3 == 0))
                    continue;
                break;
            }
            if (opener <= lowest) {
                openersBottom[key] = previous[std::size_t(closer)];
                if (!c.canOpen) unlink(closer);
                closer = following;
                continue;
            }
            Node& o = node(opener);
            const int used = (o.count >= 2 && c.count >= 2) ? 2 : 1;
            const auto change = used == 2 ? &Node::strongChange : &Node::emphasisChange;
            nodes_[candidates[std::size_t(opener)] + 1].*change += 1;
            c.*change -= 1;
            // Delimiters between the two can no longer match.
            next[std::size_t(opener)] = closer;
            previous[std::size_t(closer)] = opener;
            o.count -= used;
            c.count -= used;
            if (o.count == 0) unlink(opener);
            if (c.count == 0) {
                unlink(closer);
                closer = following;
            }
        }
        for (std::size_t k = first; k < nodes_.size(); ++k)
            if (nodes_[k].delimiter) nodes_[k].inert = true;
    }

    std::vector<MarkdownRun> runs() const {
        std::vector<MarkdownRun> runs;
        int strong = 0, emphasis = 0;
        for (const auto& node : nodes_) {
            strong += node.strongChange;
            emphasis += node.emphasisChange;
            std::u32string text;
            if (node.delimiter)
                text.assign(std::size_t(node.count), node.delimiterChar);
            else if (!node.used)
                text = node.text;
            if (text.empty()) continue;
            MarkdownRun run;
            run.strong = strong > 0;
            run.emphasis = emphasis > 0;
            run.code = node.code;
            run.link = node.link;
            run.text = utf8(text);
            if (!runs.empty()) {
                auto& last = runs.back();
                if (last.strong == run.strong && last.emphasis == run.emphasis && last.code == run.code &&
                    last.link == run.link) {
                    last.text += run.text;
                    continue;
                }
            }
            runs.push_back(std::move(run));
        }
        return runs;
    }

    std::u32string s_;
    std::vector<Node> nodes_;
    std::vector<std::size_t> brackets_;
};

} // namespace

std::vector<MarkdownRun> parseInlineMarkdown(std::string_view source) {
    const auto text = QString::fromUtf8(source.data(), qsizetype(source.size())).toStdU32String();
    return Parser(text).parse();
}

} // namespace ui
