// The system and setup codes the program meets, with their Windows names:
// the results and last errors of the calls it makes, the codes that travel
// between the installer, the device-install library and the 64-bit host, and
// the ones it reports itself. One table for every layer.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorFileNotFound = 2;          // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kErrorAccessDenied = 5;          // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kErrorInvalidHandle = 6;         // ERROR_INVALID_HANDLE
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;       // ERROR_NOT_ENOUGH_MEMORY
inline constexpr std::uint32_t kErrorInvalidData = 13;          // ERROR_INVALID_DATA
inline constexpr std::uint32_t kErrorSharingViolation = 32;     // ERROR_SHARING_VIOLATION
inline constexpr std::uint32_t kErrorInvalidParameter = 87;     // ERROR_INVALID_PARAMETER
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER
inline constexpr std::uint32_t kErrorInvalidLevel = 124;        // ERROR_INVALID_LEVEL
inline constexpr std::uint32_t kErrorModNotFound = 126;         // ERROR_MOD_NOT_FOUND
inline constexpr std::uint32_t kErrorProcNotFound = 127;        // ERROR_PROC_NOT_FOUND
inline constexpr std::uint32_t kErrorBadArguments = 160;        // ERROR_BAD_ARGUMENTS
inline constexpr std::uint32_t kErrorAlreadyExists = 183;       // ERROR_ALREADY_EXISTS
inline constexpr std::uint32_t kErrorFilenameExcedRange = 206;  // ERROR_FILENAME_EXCED_RANGE
inline constexpr std::uint32_t kErrorNoMoreItems = 259;         // ERROR_NO_MORE_ITEMS
inline constexpr std::uint32_t kErrorProcessAborted = 1067;     // ERROR_PROCESS_ABORTED: the 64-bit host gave no answer
inline constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;   // ERROR_NO_UNICODE_TRANSLATION
inline constexpr std::uint32_t kErrorInvalidShareName = 1215;       // ERROR_INVALID_SHARENAME
inline constexpr std::uint32_t kErrorInternalError = 1359;          // ERROR_INTERNAL_ERROR
inline constexpr std::uint32_t kErrorInstallFailure = 1603;         // ERROR_INSTALL_FAILURE
inline constexpr std::uint32_t kErrorUnknownPort = 1796;            // ERROR_UNKNOWN_PORT
inline constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;   // ERROR_UNKNOWN_PRINTER_DRIVER
inline constexpr std::uint32_t kErrorUnknownPrintProcessor = 1798;  // ERROR_UNKNOWN_PRINTPROCESSOR
inline constexpr std::uint32_t kErrorInvalidPrinterName = 1801;     // ERROR_INVALID_PRINTER_NAME
inline constexpr std::uint32_t kErrorPrinterAlreadyExists = 1802;   // ERROR_PRINTER_ALREADY_EXISTS
inline constexpr std::uint32_t kErrorPrinterDriverInUse = 3001;     // ERROR_PRINTER_DRIVER_IN_USE

// SetupAPI's own codes.
inline constexpr std::uint32_t kErrorNoSuchDevinst = 0xE000020B;        // ERROR_NO_SUCH_DEVINST
inline constexpr std::uint32_t kErrorNoAssociatedService = 0xE0000219;  // ERROR_NO_ASSOCIATED_SERVICE
inline constexpr std::uint32_t kErrorNoCatalogForOemInf = 0xE000022F;   // ERROR_NO_CATALOG_FOR_OEM_INF
inline constexpr std::uint32_t kTrustNoSignature = 0x800B0100;          // TRUST_E_NOSIGNATURE
