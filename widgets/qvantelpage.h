#pragma once

// Numbers of the front-panel pages. The menu framework of the widget kit names the page to return
// to, so the numbering lives at this layer and the front-panel window uses the same enum.
namespace QVantel {

enum Page : int {
    LoginPage = 0,
    MainPage = 1,
    ConnectionPage = 2,
    AudioPage = 3,
    AudioInputPage = 4,
    AudioAuxiliaryPage = 5,
    AudioOutputPage = 6,
    Headphone1Page = 7,
    Headphone2Page = 8,
    Headphone3Page = 9,
    Headphone4Page = 10,
    SettingsPage = 11,
    SettingsNetwork = 12,
    SettingsCoding = 13,
    SettingsCodingLink1 = 14,
    SettingsCodingLink2 = 15,
    SettingsAudio = 16,
    SettingsTools = 17,
    SettingsBook = 18,
    SettingsBookLink1 = 19,
    SettingsBookLink2 = 20,
    SettingsStatus = 21,
};

// The dynamic property of a control whose tap leaves the page shown: a page button of the panel,
// the settings menu's column of sections and its Back. A tap on one made while the unit is slow
// to answer ends the reading of the page being left (the front panel's input gate asks for it).
inline constexpr char kLeavesPageProperty[] = "leavesPage";

} // namespace QVantel
