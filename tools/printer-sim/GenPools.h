#pragma once
// The value pools the data generator draws from: user names, hosts, file
// names, charges, connections and paper types, plus the dictionary's field
// names. Texts that go between braces never hold "}" or a line end; paper
// texts never hold ",".
#include <cstddef>
#include <span>

namespace hpa::sim {

struct SPaperType {
    int m_nWidth;  // mm
    int m_nHeight; // mm
    int m_nWeight; // g/m2
    const char* m_pszColor;
    const char* m_pszType;
    const char* m_pszLabel;
};

// Field names as the dictionary writes them after "acc_", by field number.
std::span<const char* const> DictionaryNames();

std::span<const char* const> UserPool();
std::span<const char* const> HostPool();
std::span<const char* const> FilePool();
std::span<const char* const> ChargePool();
std::span<const char* const> ConnectionPool();
std::span<const SPaperType> PaperPool();

} // namespace hpa::sim
