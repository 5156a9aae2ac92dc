// The program's side of one hosted panel: it answers the panel's events and
// notifications, and gives it the layout scale. A click on the title or the
// text calls `onClick`.
#pragma once

#include <Pannello/Pannello.h>

#include "app/widgets/Twips.h"

#include <functional>
#include <utility>

namespace caltrix {

class SlotPanelHost : public Pannello2::PannelloHost, public Pannello2::__Pannello {
public:
    explicit SlotPanelHost(std::function<void()> onClick) : m_onClick(std::move(onClick)) {}

    void Click() override { m_onClick(); }
    double AmbientScale() override { return LayoutScale(); }

private:
    std::function<void()> m_onClick;
};

}  // namespace caltrix
