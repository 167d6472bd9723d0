#pragma once

// The ids of the settings menu's pages. Rows and pages share one id space: a page's id is the
// id of the row (or root entry) that opens it, so a page id names its row as well. Rows of the
// stored lists take ids from kFirstStoredRow on, above every page.

// Root entries.
inline constexpr int kPageNetwork = 1;
inline constexpr int kPageCoding = 2;
inline constexpr int kPageAudio = 3;
inline constexpr int kPageBook = 4;
inline constexpr int kPageTools = 5;
inline constexpr int kPageStatus = 6;

// Network section.
inline constexpr int kPageSip = 10;
inline constexpr int kPageIsdn = 11;
inline constexpr int kPageEthernetFirst = 12;
inline constexpr int kPageEthernetLast = 15;
inline constexpr int kPageMobileFirst = 16;
inline constexpr int kPageMobileLast = 19;
inline constexpr int kPageWifiFirst = 20;
inline constexpr int kPageWifiLast = 23;
inline constexpr int kPageSipAccount1 = 76;
inline constexpr int kPageSipAccount2 = 77;

// Coding section.
inline constexpr int kPageCodec1 = 98;
inline constexpr int kPageCodec2 = 99;
inline constexpr int kPageAutoBitRate = 100;

// Audio section, with the audio-over-IP module's pages.
inline constexpr int kPageMonitoring = 114;
inline constexpr int kPageRavenna = 123;
inline constexpr int kPageRavennaAddress1 = 129;
inline constexpr int kPageRavennaAddress2 = 130;
inline constexpr int kPageRavennaInputs = 137;
inline constexpr int kPageStreamFirst = 138;
inline constexpr int kPageStreamLast = 143;
inline constexpr int kPageRavennaOutput = 148;

// Book section. A stored item's page is one id for every kind; its data names its list.
inline constexpr int kPageCallProfiles = 173;
inline constexpr int kPagePresets = 174;
inline constexpr int kPageSipProfiles = 175;
inline constexpr int kPageSnapshots = 176;
inline constexpr int kRowNewStoredItem = 177;
inline constexpr int kPageStoredItem = 178;

// Tools section.
inline constexpr int kRowAccessLevel = 194;
inline constexpr int kPageSoundId = 195;
inline constexpr int kPageSoftkeys = 198;
inline constexpr int kPageSoftkeyFirst = 199;
inline constexpr int kPageSoftkeyLast = 205;
inline constexpr int kPageLabels = 209;
inline constexpr int kPageMiscellaneous = 229;
inline constexpr int kPageTroubleshooting = 241;
inline constexpr int kPageRemoteAssistance = 245;
inline constexpr int kPagePasswords = 252;

// Status section. The two statistics rows of a link's part of the connections page carry that
// part's id as their data, and open the link's statistics page.
inline constexpr int kPageConnections = 259;
inline constexpr int kConnectionsLink1 = 260;
inline constexpr int kConnectionsLink2 = 261;
inline constexpr int kRowDetailedStatistics = 268;
inline constexpr int kRowLatestStatistics = 269;
inline constexpr int kPageCallStatistics1 = 270;
inline constexpr int kPageCallStatistics2 = 271;
inline constexpr int kPageAoipStatus = 279;
inline constexpr int kRowStatusEthernetFirst = 285;
inline constexpr int kPageMobileStatusFirst = 289;
inline constexpr int kPageMobileStatusLast = 292;

inline constexpr int kFirstStoredRow = 306;
