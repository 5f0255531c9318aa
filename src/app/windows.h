// Every window of the program, created once in the order the program needs them, each
// running its creation step, and wired to the main window.
#pragma once

#include <QString>
#include <memory>

#include "app/Info1.h"
#include "ui/lists/Memory1.h"
#include "ui/lists/Rates1.h"
#include "ui/lists/SMemory1.h"
#include "ui/lists/SRates1.h"
#include "ui/lists/STaxes1.h"
#include "ui/lists/Taxes1.h"
#include "ui/main/Devical1.h"
#include "ui/main/Quest1.h"

namespace devical::app {

class DevicalWindows {
public:
    explicit DevicalWindows(const QString& programDirectory);

    ui::TCalc Calc;
    ui::TQuestion Question;
    ui::TRates Rates;
    ui::TSRates SRates;
    ui::TTaxes Taxes;
    ui::TSTaxes STaxes;
    ui::TMemory Memory;
    ui::TSMemory SMemory;
    std::unique_ptr<TInfo> Info;  // made when first asked for: nothing of it is needed to start
};

}  // namespace devical::app
