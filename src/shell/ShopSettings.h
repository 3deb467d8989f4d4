#pragma once

// The shop-wide settings: the single row of beallit, read through the view
// vw_beallit at start-up and after the settings window closes.

namespace kml {

struct TBeall;

// Reads every column of vw_beallit into the settings record; a flag holds
// exactly when its column is "I", NULL gives the column's default. Without a
// row every value takes its default.
void LoadShopSettings(TBeall& settings);

} // namespace kml
