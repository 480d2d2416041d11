// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Text comparison as Orlim uses it everywhere: whole-text, case-sensitive, and
/// canonically equivalent Unicode sequences count as equal (a precomposed "é"
/// equals "e" followed by a combining acute accent).
namespace CanonicalText {

/// The canonical (NFC) form that comparisons are made on.
QString normalized(const QString& text);
/// Whether `a` and `b` are canonically equivalent.
bool equal(const QString& a, const QString& b);
/// Whether `text` begins with the whole of `prefix` under canonical equivalence.
/// The match must end between two user-perceived characters, so "e" is not a
/// prefix of "é" in either form.
bool startsWith(const QString& text, const QString& prefix);

} // namespace CanonicalText
