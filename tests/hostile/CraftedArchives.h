#pragma once

// Byte-level changes to zip archives and monitor files made with the test zip
// builder, for packages that are damaged or lie about themselves.

#include <cstddef>
#include <cstdint>
#include <string>

namespace hostile_testing {

// The offset of the `index`-th local header ("PK\3\4") or central header
// ("PK\1\2") of an archive built by the test zip builder, in archive order.
std::size_t LocalHeader(const std::string& archive, std::size_t index);
std::size_t CentralHeader(const std::string& archive, std::size_t index);

// Records `size` as the unpacked size of entry `index`, in its local and its
// central header.
void SetDeclaredSize(std::string& archive, std::size_t index, std::uint32_t size);
// Records a checksum that does not match entry `index`'s data.
void BreakEntryChecksum(std::string& archive, std::size_t index);
// Overwrites the four signature bytes at `offset`.
void BreakSignature(std::string& archive, std::size_t offset);

// A monitor file whose header checks `payload` (length and sum) and which
// holds `following` after it: the checked part ends where `following` begins.
std::string Container(const std::string& payload, const std::string& following = "");
// A monitor file with the length and checksum fields as given.
std::string ContainerWithFields(std::uint16_t length, std::uint16_t checksum, const std::string& payload);

}  // namespace hostile_testing
