// SPDX-License-Identifier: MIT
#include "model/html_entities.h"

#include <array>
#include <cstring>
#include <iterator>
#include <vector>

namespace orin {
namespace {

// Latin-1 names in code point order, U+00A0 through U+00FF.
constexpr const char *kLatin1Names[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
    "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
    "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
    "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
    "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
    "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};
static_assert(std::size(kLatin1Names) == 96, "Latin-1 references cover U+00A0..U+00FF");

constexpr HtmlEntity kSymbols[] = {
    {"fnof", 402},
    {"Alpha", 913}, {"Beta", 914}, {"Gamma", 915}, {"Delta", 916}, {"Epsilon", 917},
    {"Zeta", 918}, {"Eta", 919}, {"Theta", 920}, {"Iota", 921}, {"Kappa", 922},
    {"Lambda", 923}, {"Mu", 924}, {"Nu", 925}, {"Xi", 926}, {"Omicron", 927}, {"Pi", 928},
    {"Rho", 929}, {"Sigma", 931}, {"Tau", 932}, {"Upsilon", 933}, {"Phi", 934}, {"Chi", 935},
    {"Psi", 936}, {"Omega", 937},
    {"alpha", 945}, {"beta", 946}, {"gamma", 947}, {"delta", 948}, {"epsilon", 949},
    {"zeta", 950}, {"eta", 951}, {"theta", 952}, {"iota", 953}, {"kappa", 954},
    {"lambda", 955}, {"mu", 956}, {"nu", 957}, {"xi", 958}, {"omicron", 959}, {"pi", 960},
    {"rho", 961}, {"sigmaf", 962}, {"sigma", 963}, {"tau", 964}, {"upsilon", 965},
    {"phi", 966}, {"chi", 967}, {"psi", 968}, {"omega", 969},
    {"thetasym", 977}, {"upsih", 978}, {"piv", 982},
    {"bull", 8226}, {"hellip", 8230}, {"prime", 8242}, {"Prime", 8243}, {"oline", 8254},
    {"frasl", 8260},
    {"weierp", 8472}, {"image", 8465}, {"real", 8476}, {"trade", 8482}, {"alefsym", 8501},
    {"larr", 8592}, {"uarr", 8593}, {"rarr", 8594}, {"darr", 8595}, {"harr", 8596},
    {"crarr", 8629}, {"lArr", 8656}, {"uArr", 8657}, {"rArr", 8658}, {"dArr", 8659},
    {"hArr", 8660},
    {"forall", 8704}, {"part", 8706}, {"exist", 8707}, {"empty", 8709}, {"nabla", 8711},
    {"isin", 8712}, {"notin", 8713}, {"ni", 8715}, {"prod", 8719}, {"sum", 8721},
    {"minus", 8722}, {"lowast", 8727}, {"radic", 8730}, {"prop", 8733}, {"infin", 8734},
    {"ang", 8736}, {"and", 8743}, {"or", 8744}, {"cap", 8745}, {"cup", 8746}, {"int", 8747},
    {"there4", 8756}, {"sim", 8764}, {"cong", 8773}, {"asymp", 8776}, {"ne", 8800},
    {"equiv", 8801}, {"le", 8804}, {"ge", 8805}, {"sub", 8834}, {"sup", 8835},
    {"nsub", 8836}, {"sube", 8838}, {"supe", 8839}, {"oplus", 8853}, {"otimes", 8855},
    {"perp", 8869}, {"sdot", 8901},
    {"lceil", 8968}, {"rceil", 8969}, {"lfloor", 8970}, {"rfloor", 8971}, {"lang", 9001},
    {"rang", 9002},
    {"loz", 9674},
    {"spades", 9824}, {"clubs", 9827}, {"hearts", 9829}, {"diams", 9830},
};
static_assert(std::size(kSymbols) == 124, "symbols, mathematical symbols and Greek letters");

constexpr HtmlEntity kSpecial[] = {
    {"quot", 34}, {"amp", 38}, {"lt", 60}, {"gt", 62},
    {"OElig", 338}, {"oelig", 339}, {"Scaron", 352}, {"scaron", 353}, {"Yuml", 376},
    {"circ", 710}, {"tilde", 732},
    {"ensp", 8194}, {"emsp", 8195}, {"thinsp", 8201}, {"zwnj", 8204}, {"zwj", 8205},
    {"lrm", 8206}, {"rlm", 8207}, {"ndash", 8211}, {"mdash", 8212}, {"lsquo", 8216},
    {"rsquo", 8217}, {"sbquo", 8218}, {"ldquo", 8220}, {"rdquo", 8221}, {"bdquo", 8222},
    {"dagger", 8224}, {"Dagger", 8225}, {"permil", 8240}, {"lsaquo", 8249},
    {"rsaquo", 8250}, {"euro", 8364},
};
static_assert(std::size(kSpecial) == 32, "markup-significant and internationalization characters");

static_assert(std::size(kLatin1Names) + std::size(kSymbols) + std::size(kSpecial)
                  == kHtmlEntityCount,
              "HTML 4.01 defines 252 named character references");

constexpr int kBuckets = 130;
constexpr int kMaxNameLength = 8; // "thetasym"

char16_t Fold(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

struct Entry {
    HtmlEntity entity;
    char folded[kMaxNameLength + 1];
    int length;
    bool exactCase; // another name differs only by case
};

class CEntityTable {
public:
    CEntityTable()
    {
        for (size_t i = 0; i < std::size(kLatin1Names); ++i)
            Add({kLatin1Names[i], char32_t(0xA0 + i)});
        for (const HtmlEntity &e : kSymbols)
            Add(e);
        for (const HtmlEntity &e : kSpecial)
            Add(e);
        Add({"apos", 39});
        for (Entry &a : m_entries) {
            for (const Entry &b : m_entries) {
                if (&a != &b && std::strcmp(a.folded, b.folded) == 0)
                    a.exactCase = true;
            }
        }
        for (size_t i = 0; i < m_entries.size(); ++i) {
            int sum = 0;
            for (int k = 0; k < m_entries[i].length; ++k)
                sum += m_entries[i].folded[k];
            m_buckets[size_t(sum % kBuckets)].push_back(int(i));
        }
        for (const Entry &e : m_entries)
            m_plain.push_back(e.entity);
    }

    char32_t Lookup(QStringView name) const
    {
        const qsizetype n = name.size();
        if (n <= 0 || n > kMaxNameLength)
            return 0;
        char16_t folded[kMaxNameLength];
        int sum = 0;
        for (qsizetype k = 0; k < n; ++k) {
            const char16_t c = name[k].unicode();
            if (c >= 0x80)
                return 0;
            folded[k] = Fold(c);
            sum += folded[k];
        }
        for (int i : m_buckets[size_t(sum % kBuckets)]) {
            const Entry &e = m_entries[size_t(i)];
            if (e.length != n || !SameChars(e.folded, folded, n))
                continue;
            if (!e.exactCase || SameChars(e.entity.name, name.utf16(), n))
                return e.entity.codePoint;
        }
        return 0;
    }

    const std::vector<HtmlEntity> &Plain() const { return m_plain; }

private:
    template<typename Char>
    static bool SameChars(const char *a, const Char *b, qsizetype n)
    {
        for (qsizetype k = 0; k < n; ++k) {
            if (char16_t(a[k]) != char16_t(b[k]))
                return false;
        }
        return true;
    }

    void Add(const HtmlEntity &e)
    {
        Entry entry{e, {}, 0, false};
        entry.length = int(std::strlen(e.name));
        for (int k = 0; k < entry.length && k < kMaxNameLength; ++k)
            entry.folded[k] = char(Fold(char16_t(e.name[k])));
        m_entries.push_back(entry);
    }

    std::vector<Entry> m_entries;
    std::array<std::vector<int>, kBuckets> m_buckets;
    std::vector<HtmlEntity> m_plain;
};

const CEntityTable &Table()
{
    static const CEntityTable table;
    return table;
}

} // namespace

const HtmlEntity *HtmlEntities()
{
    return Table().Plain().data();
}

int HtmlEntityTableSize()
{
    return int(Table().Plain().size());
}

char32_t LookupHtmlEntity(QStringView name)
{
    return Table().Lookup(name);
}

} // namespace orin
