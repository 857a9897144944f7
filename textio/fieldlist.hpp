#pragma once
// One list of fields per record of a text file, read and written by one
// reader and one writer, so that adding a field is one row. A row says
// where the value lives, its limit and, for a file of key lines, its key.
// The file's own codec reads and writes one value of each type (with the
// file's number form and checks) and begins and ends the lines.
#include <cstddef>
#include <iterator>
#include <variant>

namespace kova {

// A field of record R whose value is one of the types T, checked against
// a Limit of the file's own table.
template <class R, class Limit, class... T>
struct Field {
    using Record = R;
    using Ref = std::variant<T*...>;
    Ref (*at)(R&);  // nullptr: a line of its key alone (a column heading)
    Limit limit{};
    // A row with a key starts a line; a key that is not empty is the line's
    // first item. A row without a key continues the line before it.
    const char* key = nullptr;
    const char* label = "";  // what a fault names
    int max = 0;             // > 0: a count of what follows, at most max
    int since = 1;           // the file version that brought it; older files keep the default
    bool HasKey() const { return key && *key; }
};

// The highest `since` of the lists: the version their writer writes.
template <class... Lists>
constexpr int HighestSince(const Lists&... lists) {
    int v = 1;
    auto scan = [&v](const auto& list) { for (const auto& f : list) v = f.since > v ? f.since : v; };
    (scan(lists), ...);
    return v;
}

namespace fieldlist_detail {
template <class>
struct MemberOf;
template <class C, class T>
struct MemberOf<T C::*> {
    using Record = C;
};
template <auto M>
struct AtMember {
    template <class Ref, class R>
    using Fn = Ref (*)(R&);
    template <class Ref, class R>
    constexpr operator Fn<Ref, R>() const {
        return [](R& r) -> Ref { return &(r.*M); };
    }
};
}  // namespace fieldlist_detail

// A row's `at` for a member: At<&Record::Member>.
template <auto M>
inline constexpr fieldlist_detail::AtMember<M> At{};

// Row k of a table its owner keeps as parallel arrays, a record of its own.
template <class T>
struct TableRow {
    T& owner;
    std::size_t k;
};

// A row's `at` for one array of such a table: Column<&Owner::Array>.
template <auto M>
struct ColumnAt {
    template <class Ref, class T>
    using Fn = Ref (*)(TableRow<T>&);
    template <class Ref, class T>
    constexpr operator Fn<Ref, T>() const {
        return [](TableRow<T>& r) -> Ref { return &(r.owner.*M)[r.k]; };
    }
};
template <auto M>
inline constexpr ColumnAt<M> Column{};

// Where the line that starts at row k ends: the rows after it without a key.
template <class List>
std::size_t LineEnd(const List& list, std::size_t k) {
    std::size_t end = k + 1;
    while (end < std::size(list) && !list[end].key) ++end;
    return end;
}

// Reads the lines of one record, each with the fields a file of `version`
// holds: in.Line(first row, values on the line) begins a line,
// in.Read(value, row) reads one value into its place.
template <class List, class R, class In>
void ReadRecord(In& in, const List& list, R& r, int version = 1) {
    for (std::size_t k = 0, end; k < std::size(list); k = end) {
        end = LineEnd(list, k);
        if (list[k].since > version) continue;  // a line the file's version lacks
        int n = 0;
        for (std::size_t j = k; j < end; ++j) n += list[j].at && list[j].since <= version;
        in.Line(list[k], n);
        for (std::size_t j = k; j < end; ++j)
            if (list[j].at && list[j].since <= version)
                std::visit([&](auto* p) { in.Read(*p, list[j]); }, list[j].at(r));
    }
}

// Writes one record: out.Key(key) and out.Write(value, row) add an item,
// out.EndLine() ends the line. The list serves reading as well, so r is
// not const; writing changes nothing.
template <class List, class R, class Out>
void WriteRecord(Out&& out, const List& list, R& r) {
    for (std::size_t k = 0; k < std::size(list); ++k) {
        const auto& f = list[k];
        if (f.key && k > 0) out.EndLine();
        if (f.HasKey()) out.Key(f.key);
        if (f.at) std::visit([&](auto* p) { out.Write(*p, f); }, f.at(r));
    }
    out.EndLine();
}

}  // namespace kova
