#include "core/printing/pdf_outline.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>

namespace cam {

namespace {

// The whole number at the start of text after blanks, and where it ends.
std::optional<long> NumberAt(std::string_view text, std::size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\r' || text[at] == '\n')) ++at;
    long v = 0;
    const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v);
    if (ec != std::errc()) return std::nullopt;
    at = static_cast<std::size_t>(end - text.data());
    return v;
}

// The number after key in a dictionary's text ("/Root 7 0 R" -> 7).
std::optional<long> Entry(std::string_view dict, std::string_view key) {
    std::size_t at = dict.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    at += key.size();
    return NumberAt(dict, at);
}

// What is between the outer << and >> of the object's text, nested dictionaries included.
std::optional<std::string_view> Dictionary(std::string_view text) {
    const std::size_t open = text.find("<<");
    if (open == std::string_view::npos) return std::nullopt;
    int depth = 0;
    for (std::size_t i = open; i + 1 < text.size(); ++i) {
        if (text.compare(i, 2, "<<") == 0) {
            ++depth;
            ++i;
        } else if (text.compare(i, 2, ">>") == 0) {
            if (--depth == 0) return text.substr(open + 2, i - open - 2);
            ++i;
        }
    }
    return std::nullopt;
}

class PdfFile {
public:
    explicit PdfFile(std::string_view pdf) : pdf_(pdf) {}

    // Reads the last cross-reference table and its trailer; "" when they are as expected.
    std::string read() {
        const std::size_t start = pdf_.rfind("startxref");
        if (start == std::string_view::npos) return "no startxref";
        std::size_t at = start + 9;
        const auto xref = NumberAt(pdf_, at);
        if (!xref || *xref < 0 || static_cast<std::size_t>(*xref) >= pdf_.size() ||
            pdf_.compare(static_cast<std::size_t>(*xref), 4, "xref") != 0)
            return "no cross-reference table";
        xref_ = *xref;
        at = static_cast<std::size_t>(*xref) + 4;
        for (;;) {
            std::size_t probe = at;
            while (probe < pdf_.size() && (pdf_[probe] == '\r' || pdf_[probe] == '\n' || pdf_[probe] == ' ')) ++probe;
            if (probe >= pdf_.size()) return "a cross-reference table without its trailer";
            if (pdf_.compare(probe, 7, "trailer") == 0) {
                at = probe + 7;
                break;
            }
            const auto first = NumberAt(pdf_, at), count = NumberAt(pdf_, at);
            if (!first || !count || *count < 0) return "a cross-reference table it cannot read";
            for (long i = 0; i < *count; ++i) {
                while (at < pdf_.size() && (pdf_[at] == '\r' || pdf_[at] == '\n' || pdf_[at] == ' ')) ++at;
                if (at + 18 > pdf_.size()) return "a cross-reference table cut short";
                std::size_t field = at;
                const auto offset = NumberAt(pdf_, field);
                if (offset && pdf_[at + 17] == 'n') offsets_[*first + i] = *offset;
                at += 18;
            }
        }
        const auto trailer = Dictionary(pdf_.substr(at));
        if (!trailer) return "no trailer";
        trailer_ = *trailer;
        const auto size = Entry(trailer_, "/Size"), root = Entry(trailer_, "/Root");
        if (!size || !root) return "a trailer without /Size or /Root";
        size_ = *size;
        root_ = *root;
        return "";
    }

    // The dictionary of object n, "" when it has none.
    std::string_view object(long n) const {
        const auto it = offsets_.find(n);
        if (it == offsets_.end() || it->second < 0 || static_cast<std::size_t>(it->second) >= pdf_.size()) return {};
        const std::string_view text = pdf_.substr(static_cast<std::size_t>(it->second));
        const std::size_t end = text.find("endobj");
        return Dictionary(text.substr(0, end)).value_or(std::string_view());
    }

    // The page objects in order, from a page tree of one level.
    std::vector<long> pages() const {
        std::vector<long> out;
        const auto tree = Entry(object(root_), "/Pages");
        if (!tree) return out;
        const std::string_view pages = object(*tree);
        std::size_t at = pages.find("/Kids");
        const std::size_t open = at == std::string_view::npos ? at : pages.find('[', at);
        if (open == std::string_view::npos) return out;
        const std::size_t close = pages.find(']', open);
        const std::string_view kids = pages.substr(open + 1, close - open - 1);
        at = 0;
        while (const auto n = NumberAt(kids, at)) {
            out.push_back(*n);
            at = kids.find('R', at);
            if (at == std::string_view::npos) break;
            ++at;
        }
        for (long page : out)
            if (object(page).find("/Type /Pages") != std::string_view::npos) return {};
        return out;
    }

    long xref_ = 0, size_ = 0, root_ = 0;
    std::string_view trailer_;

private:
    std::string_view pdf_;
    std::map<long, long> offsets_;
};

// A PDF text string: UTF-16 (big-endian, with its byte order mark) in hexadecimal.
std::string TextString(const std::string& utf8) {
    std::string out = "<FEFF";
    auto unit = [&](unsigned u) {
        char hex[5];
        std::snprintf(hex, sizeof hex, "%04X", u & 0xFFFFu);
        out += hex;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const int more = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        unsigned code = more < 0 ? 0xFFFD : more == 0 ? c : c & (0x3F >> more);
        for (int k = 1; k <= more; ++k)
            code = i + k < utf8.size() ? (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F) : 0xFFFD;
        i += static_cast<std::size_t>(more < 0 ? 1 : more + 1);
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return out + ">";
}

std::string Ref(long n) { return std::to_string(n) + " 0 R"; }

}  // namespace

Result AddPdfOutline(std::string& pdf, const std::vector<OutlineEntry>& entries) {
    PdfFile file(pdf);
    if (const std::string fault = file.read(); !fault.empty())
        return Result::Failure("the PDF has " + fault + "; no outline was added");
    const std::string_view catalog = file.object(file.root_);
    if (catalog.empty() || catalog.find("/Outlines") != std::string_view::npos)
        return Result::Failure("the PDF's catalog cannot take an outline");
    const std::vector<long> pages = file.pages();
    if (pages.empty()) return Result::Failure("the PDF's pages cannot be found");
    for (const OutlineEntry& e : entries)
        if (e.page < 0 || e.page >= static_cast<int>(pages.size()))
            return Result::Failure("the outline names page " + std::to_string(e.page + 1) + " of " +
                                   std::to_string(pages.size()));

    // The tree: each entry under the last entry of a lower level before it; object numbers
    // from the end of the file's, the outline's own first.
    const long root = file.size_;
    const std::size_t n = entries.size();
    std::vector<long> parent(n, root), first(n, 0), last(n, 0), prev(n, 0), next(n, 0), count(n, 0);
    auto id = [&](std::size_t i) { return root + 1 + static_cast<long>(i); };
    long rootFirst = 0, rootLast = 0;
    std::vector<std::size_t> open;  // the entries the next one may belong to
    for (std::size_t i = 0; i < n; ++i) {
        while (!open.empty() && entries[open.back()].level >= entries[i].level) open.pop_back();
        long& siblingLast = open.empty() ? rootLast : last[open.back()];
        long& siblingFirst = open.empty() ? rootFirst : first[open.back()];
        if (!open.empty()) parent[i] = id(open.back());
        if (siblingLast) {
            prev[i] = siblingLast;
            next[static_cast<std::size_t>(siblingLast - root - 1)] = id(i);
        } else {
            siblingFirst = id(i);
        }
        siblingLast = id(i);
        for (std::size_t a : open) ++count[a];  // every entry shows open, with all below it
        open.push_back(i);
    }

    std::string update = "\n";
    std::vector<std::pair<long, std::size_t>> offsets;  // object, where it starts
    auto object = [&](long number, const std::string& dict) {
        offsets.push_back({number, pdf.size() + update.size()});
        update += std::to_string(number) + " 0 obj\n<<" + dict + ">>\nendobj\n";
    };
    object(file.root_, std::string(catalog) + " /Outlines " + Ref(root) + " /PageMode /UseOutlines ");
    object(root,
           "/Type /Outlines /First " + Ref(rootFirst) + " /Last " + Ref(rootLast) + " /Count " + std::to_string(n));
    for (std::size_t i = 0; i < n; ++i) {
        const OutlineEntry& e = entries[i];
        std::string dict = "/Title " + TextString(e.title) + " /Parent " + Ref(parent[i]);
        if (prev[i]) dict += " /Prev " + Ref(prev[i]);
        if (next[i]) dict += " /Next " + Ref(next[i]);
        if (first[i])
            dict += " /First " + Ref(first[i]) + " /Last " + Ref(last[i]) + " /Count " + std::to_string(count[i]);
        char top[32] = "null";
        if (e.top >= 0) std::snprintf(top, sizeof top, "%.1f", e.top);
        dict += " /Dest [" + Ref(pages[static_cast<std::size_t>(e.page)]) + " /XYZ null " + top + " null]";
        object(id(i), dict);
    }

    // The cross-reference section of the update: the catalog, then the new objects in a row.
    const std::size_t xref = pdf.size() + update.size();
    update += "xref\n";
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (i < 2) update += std::to_string(offsets[i].first) + (i == 0 ? " 1\n" : " " + std::to_string(n + 1) + "\n");
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offsets[i].second);
        update += line;
    }
    std::string trailer = " /Size " + std::to_string(id(n)) + " /Root " + Ref(file.root_);
    if (const auto info = Entry(file.trailer_, "/Info")) trailer += " /Info " + Ref(*info);
    if (const std::size_t at = file.trailer_.find("/ID"); at != std::string_view::npos) {
        const std::size_t end = file.trailer_.find(']', at);
        if (end != std::string_view::npos) trailer += " " + std::string(file.trailer_.substr(at, end - at + 1));
    }
    update += "trailer\n<<" + trailer + " /Prev " + std::to_string(file.xref_) + " >>\nstartxref\n" +
              std::to_string(xref) + "\n%%EOF\n";
    pdf += update;
    return {};
}

}  // namespace cam
