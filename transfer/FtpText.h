#pragma once
// Small text helpers of the FTP client: the pieces of the conversation that
// are pure string work, kept apart so they are tested without sockets.
#include <cstdint>
#include <string>
#include <string_view>

namespace hpa {

// The standard decimal conversion: leading white space, an optional sign,
// then digits; 0 when there are none. Clamped to the 32-bit range.
std::int32_t LeadingInt(std::string_view text);
// The same, wide enough for sums of byte counts.
std::int64_t LeadingInt64(std::string_view text);

// False when the text holds a CR, LF or NUL: such a text would end the
// command line early and smuggle a second command to the server.
bool IsSafeArgument(std::string_view text);

// Splits "HOST" or "HOST:PORT" (PORT 1..65535), where HOST may be an IPv6
// literal in brackets ("[fd00::5]:2121"; the brackets are dropped). Without
// a valid port suffix the whole text is the host and the port is 21; a bare
// IPv6 literal (more than one colon) is all host.
void SplitHostPort(const std::string& strText, std::string& strHost, int& nPort);

// True for a dotted IPv4 address such as "192.168.1.5".
bool IsDottedAddress(const std::string& strText);

// The part of a host text that is looked up: the text after the last at
// sign, when there is one after the first character.
std::string HostAfterLastAt(const std::string& strText);

// "PORT a,b,c,d,hi,lo\r\n" for a dotted address and a port.
std::string FormatPortCommand(const std::string& strDottedAddress, int nPort);

// "EPRT |2|ADDRESS|PORT|\r\n" for an IPv6 address and a port.
std::string FormatEprtCommand(const std::string& strIpv6Address, int nPort);

} // namespace hpa
