#pragma once
// What the settings pages share about saving: who may change the company's own choices, and
// how a save looks to the agent. The busy overlay runs from the post until the changed
// settings cache has been downloaded again, or until the save failed (the service has told
// the agent why, and her edits stay on the page). Once saved, the page shows the stored values
// again, unless that download failed: the store then still holds the old ones, so the page
// keeps what the agent sees. Either way the save is reported as a success, the server has it.
#include "services/housebooksettingsservice.h"

#include <functional>

class BusyOverlay;

namespace SettingsSave {

// Managers of the company or of the alliance.
bool mayChangeCompanyChoices();

void bind(HouseBookSettingsService *service, HouseBookSettingsService::Request request, BusyOverlay *overlay,
          const std::function<void()> &showStored, const std::function<void()> &succeeded);

} // namespace SettingsSave
