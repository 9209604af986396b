#include "ViewKit/ScanCodeType.h"

#include "foundation/TextCase.h"

namespace ViewKit {

std::string_view rawValue(ScanCodeType type) {
    switch (type) {
    case ScanCodeType::aztek:
        return "aztek";
    case ScanCodeType::code128:
        return "code128";
    case ScanCodeType::pdf417:
        return "pdf417";
    case ScanCodeType::qr:
        return "qr";
    }
    return {};
}

std::optional<ScanCodeType> scanCodeTypeFromRawValue(std::string_view value) {
    for (const auto type : allScanCodeTypes)
        if (rawValue(type) == value) return type;
    return std::nullopt;
}

std::string displayName(ScanCodeType type) {
    return foundation::capitalized(rawValue(type));
}

std::string_view ciFilterName(ScanCodeType type) {
    switch (type) {
    case ScanCodeType::aztek:
        return "CIAztecCodeGenerator";
    case ScanCodeType::code128:
        return "CICode128BarcodeGenerator";
    case ScanCodeType::pdf417:
        return "CIPDF417BarcodeGenerator";
    case ScanCodeType::qr:
        return "CIQRCodeGenerator";
    }
    return {};
}

} // namespace ViewKit
