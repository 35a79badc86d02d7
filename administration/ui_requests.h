// The administration program's requests: the shared vocabulary of ui/requests.h, with the program's
// two windows named and its general error box captioned with the application title.
#pragma once

#include <string>

#include "ui/requests.h"

namespace sentavo::admin {

using ui::ErrorMessage;
using ui::InformationMessage;
using ui::Message;
using ui::Request;
using ui::Requests;

// The program's windows, as ShowWindowRequest numbers them.
enum class AdminWindow { Login, Codes };

ui::ShowWindowRequest Showing(AdminWindow window, bool visible);

// The general error box: stop icon, the application title as caption, the text ending with a full
// stop.
Message GeneralErrorMessage(std::string text);

}  // namespace sentavo::admin
