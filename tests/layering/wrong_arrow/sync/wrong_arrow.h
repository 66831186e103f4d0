// SPDX-License-Identifier: GPL-3.0-or-later
// A synchronisation file that reaches into the main window: the layering check must refuse it.
#include "shell/nxo_krv.h"
