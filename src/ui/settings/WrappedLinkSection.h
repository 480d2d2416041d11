// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;
class WrappedLinkSetting;

/// The settings' section on links that came wrapped: one check box that opens
/// their destination instead of the link as given. Each click is written at
/// once, and the box then shows what the file holds.
QWidget* wrappedLinkSection(WrappedLinkSetting& setting, QWidget* parent);
