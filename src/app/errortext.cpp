// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/errortext.h"

namespace tessaplex::app {

std::string errorText(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message.push_back('.');
    return message;
}

} // namespace tessaplex::app
