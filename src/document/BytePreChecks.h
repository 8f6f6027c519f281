#pragma once

#include <vector>

namespace fwcommon::document {

// Refuses, before any XML parser sees them, bytes that can never be a
// policy document: another encoding than UTF-8 (EncodingGuard.h), bytes
// that are not well-formed UTF-8 (Utf8Guard.h), a NUL byte, a DOCTYPE,
// markup beyond the bounds of MarkupLimits.h. Throws
// xml_schema::parsing with one fatal diagnostic naming the bytes
// documentId; returns when none applies. Any thread may call it.
void RefuseUnparsableBytes(const std::vector<unsigned char>& bytes, const wchar_t* documentId);

}  // namespace fwcommon::document
