// SPDX-License-Identifier: GPL-3.0-or-later
// The art file builder of the core tests, compiled into the CLI tests as well.
#include "art/artfixture.cpp"
