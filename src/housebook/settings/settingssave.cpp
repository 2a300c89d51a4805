#include "settings/settingssave.h"

#include "datacenter.h"
#include "widgets/busyoverlay.h"

namespace SettingsSave {

bool mayChangeCompanyChoices()
{
    return DataCenter::isManager || DataCenter::isJointSaleManger;
}

void bind(HouseBookSettingsService *service, HouseBookSettingsService::Request request, BusyOverlay *overlay,
          const std::function<void()> &showStored, const std::function<void()> &succeeded)
{
    using Service = HouseBookSettingsService;
    QObject::connect(service, &Service::failed, overlay, [request, overlay](Service::Request failed) {
        if (failed == request)
            overlay->stop();
    });
    QObject::connect(service, &Service::cachesReloaded, overlay,
                     [request, overlay, showStored, succeeded](Service::Request reloaded, bool ok) {
                         if (reloaded != request)
                             return;
                         overlay->stop();
                         if (ok)
                             showStored();
                         succeeded();
                     });
}

} // namespace SettingsSave
