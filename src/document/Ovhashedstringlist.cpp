// TOVHashedStringList and its table TOVStringHash: keyword lookups in one
// hash probe.

#include "Ovstrings.h"

#include "Codepage.h"

#include <cstring>

namespace ov {

TOVStringHash::TOVStringHash(int bucketCount)
    : FBuckets(static_cast<std::size_t>(bucketCount > 0 ? bucketCount : 1), nullptr) {}

TOVStringHash::~TOVStringHash() { ClearKeys(); }

std::uint32_t TOVStringHash::HashKey(std::string_view key) const {
    // Sum of the signed bytes, each taken remainder 127 (sign of the byte).
    // Without case sensitivity the ASCII letters are upper-cased first (not
    // the second byte of a double-byte character); the rule covers keys of
    // any length, the same for adding and finding.
    std::int32_t sum = 0;
    bool trail = false;
    for (char c : key) {
        if (!FCaseSensitive && !trail)
            c = AnsiUpperChar(c);
        trail = !trail && IsLeadByte(static_cast<unsigned char>(c));
        sum += static_cast<std::int32_t>(static_cast<signed char>(c)) % 127;
    }
    return static_cast<std::uint32_t>(sum);
}

void TOVStringHash::AddKey(const char* key, int value) {
    std::size_t bucket = HashKey(key) % FBuckets.size();
    FBuckets[bucket] = new TNode{FBuckets[bucket], key, value};
}

void TOVStringHash::ClearKeys() {
    for (TNode*& head : FBuckets) {
        while (head) {
            TNode* next = head->Next;
            delete head;
            head = next;
        }
    }
}

const TOVStringHash::TNode* TOVStringHash::FindKey(std::string_view key) const {
    std::size_t bucket = HashKey(key) % FBuckets.size();
    for (const TNode* node = FBuckets[bucket]; node; node = node->Next) {
        std::string_view nodeKey(node->Key);
        if (FCaseSensitive ? nodeKey == key : AnsiSameText(nodeKey, key))
            return node;
    }
    return nullptr;
}

int TOVStringHash::IndexOfKey(std::string_view key) const {
    const TNode* node = FindKey(key);
    return node ? node->Value : -1;
}

TOVHashedStringList::TOVHashedStringList() = default;

void TOVHashedStringList::Exchange(int i, int j) {
    // Sorting (also SetSorted, which sends no notification) moves entries
    // away from the indexes the table holds.
    TOVStringList::Exchange(i, j);
    FHashValid = false;
}

void TOVHashedStringList::Changed() {
    // Stale before the handler runs: a handler that throws must not leave a
    // table whose keys point at texts that are gone.
    FHashValid = false;
    TOVStringList::Changed();
}

void TOVHashedStringList::RebuildHash() {
    if (FHashValid)
        return;
    FHash.ClearKeys();
    FHash.SetCaseSensitive(CaseSensitive());
    for (int i = 0; i < Count(); ++i)
        FHash.AddKey(Get(i), i);
    FHashValid = true;
}

int TOVHashedStringList::IndexOf(std::string_view text) {
    // A table built under the other case rule would answer wrongly.
    if (FHash.CaseSensitive() != CaseSensitive())
        FHashValid = false;
    RebuildHash();
    return FHash.IndexOfKey(text);
}

} // namespace ov
