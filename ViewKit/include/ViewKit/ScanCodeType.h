#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ViewKit {

// The kinds of machine-readable code a text can be drawn as. The raw value is the case's name
// ("aztek", spelled so, not "aztec"), and so is the id.
enum class ScanCodeType { aztek, code128, pdf417, qr };

inline constexpr std::array<ScanCodeType, 4> allScanCodeTypes{ScanCodeType::aztek, ScanCodeType::code128,
                                                              ScanCodeType::pdf417, ScanCodeType::qr};

std::string_view rawValue(ScanCodeType type);
std::optional<ScanCodeType> scanCodeTypeFromRawValue(std::string_view rawValue);
inline std::string_view id(ScanCodeType type) {
    return rawValue(type);
}
// The raw value capitalised as words are: "Aztek", "Code128", "Pdf417", "Qr".
std::string displayName(ScanCodeType type);
// The generator that draws it, as "CIQRCodeGenerator".
std::string_view ciFilterName(ScanCodeType type);

} // namespace ViewKit
