#include "administration/ui_requests.h"

#include <utility>

#include "administration/admin_texts.h"

namespace sentavo::admin {

ui::ShowWindowRequest Showing(AdminWindow window, bool visible) {
  return {static_cast<int>(window), visible};
}

Message GeneralErrorMessage(std::string text) {
  return ui::StopMessage(std::string(text::kAppTitle), std::move(text));
}

}  // namespace sentavo::admin
