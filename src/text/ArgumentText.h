// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

/// Command-line arguments are bytes; Orlim handles them as text. Bytes that are
/// not UTF-8 are carried as the lone surrogates U+DC80..U+DCFF, one per byte,
/// so that a link reaches Chrome exactly as it was given, whatever its bytes.
namespace ArgumentText {

/// `bytes` as text; invalid UTF-8 becomes one lone surrogate per byte.
QString fromBytes(const QByteArray& bytes);
/// Each of `arguments` as text, in order: links read where they are shown.
QStringList fromBytes(const std::vector<std::string>& arguments);
/// The bytes `fromBytes` was given back; other text as UTF-8.
QByteArray toBytes(const QString& text);

} // namespace ArgumentText
