// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <glib-object.h>
#include <memory>

/// Owns one reference to a GObject.
struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
