#pragma once

// The ids of the settings menu's pages and rows. Rows and pages share one id space: a page's id
// is the id of the navigation row (or root entry) that opens it, so a page id names its row as
// well. A name with First in it begins a run of ids, which ends at the same name with Last in
// place of First or, where there is none, just before the next id named; every id of a run is
// taken. Rows of the stored lists take ids from kFirstStoredRow on, above every page.

// Root entries: Exit, which leaves the menu and opens no page, and the section pages.
inline constexpr int kEntryExit = 0;
inline constexpr int kPageNetwork = 1;
inline constexpr int kPageCoding = 2;
inline constexpr int kPageAudio = 3;
inline constexpr int kPageBook = 4;
inline constexpr int kPageTools = 5;
inline constexpr int kPageStatus = 6;

// Network section: the rows and entries of the Network page. Each interface family has four
// entries, one per interface.
inline constexpr int kRowDefaultNetwork = 7;
inline constexpr int kRowSecondaryNetwork = 8;
inline constexpr int kRowCodecMode = 9;
inline constexpr int kPageSip = 10;
inline constexpr int kPageIsdn = 11;
inline constexpr int kPageEthernetFirst = 12;
inline constexpr int kPageEthernetLast = 15;
inline constexpr int kPageMobileFirst = 16;
inline constexpr int kPageMobileLast = 19;
inline constexpr int kPageWifiFirst = 20;
inline constexpr int kPageWifiLast = 23;

// The rows of an Ethernet interface's page.
inline constexpr int kRowEthernetDhcp = 24;
inline constexpr int kRowEthernetIpAddress = 25;
inline constexpr int kRowEthernetSubnet = 26;
inline constexpr int kRowEthernetGateway = 27;
inline constexpr int kRowEthernetDns1 = 28;
inline constexpr int kRowEthernetDns2 = 29;
inline constexpr int kRowEthernetLinkMode = 30;
inline constexpr int kRowEthernetQuality = 31;
inline constexpr int kRowEthernetMacAddress = 32;
inline constexpr int kRowEthernetAjb = 33;

// The rows of the ISDN page.
inline constexpr int kRowIsdn5as = 34;
inline constexpr int kRowIsdnProtocol = 35;
inline constexpr int kRowIsdnLocalNumber1 = 36;
inline constexpr int kRowIsdnLocalNumber2 = 37;
inline constexpr int kRowIsdnSubAddress1 = 38;
inline constexpr int kRowIsdnSubAddress2 = 39;
inline constexpr int kRowIsdnSpid = 40;

// The rows of a mobile interface's page: its settings, then the modem's information.
inline constexpr int kRowMobilePin = 41;
inline constexpr int kRowMobilePinSave = 42;
inline constexpr int kRowMobileRat = 43;
inline constexpr int kRowMobileOperator = 44;
inline constexpr int kRowMobileMode = 45;
inline constexpr int kRowMobileDataService = 46;
inline constexpr int kRowMobileApn = 47;
inline constexpr int kRowMobileAuthentication = 48;
inline constexpr int kRowMobileUsername = 49;
inline constexpr int kRowMobilePassword = 50;
inline constexpr int kRowMobileQuality = 51;
inline constexpr int kRowMobileAjb = 52;
inline constexpr int kRowMobileManufacturer = 53;
inline constexpr int kRowMobileModel = 54;
inline constexpr int kRowMobileRevision = 55;
inline constexpr int kRowMobileImei = 56;
inline constexpr int kRowMobileImsi = 57;
inline constexpr int kRowMobileSubscriber = 58;

// The rows of a Wi-Fi interface's page.
inline constexpr int kRowWifiActive = 59;
inline constexpr int kRowWifiList = 60;
inline constexpr int kRowWifiSsid = 61;
inline constexpr int kRowWifiSecurity = 62;
inline constexpr int kRowWifiPassphrase = 63;
inline constexpr int kRowWifiQuality = 64;
inline constexpr int kRowWifiAjb = 65;

// SIP pages: the rows and entries of the SIP settings page. The shared ports are on this page
// before firmware 1.7.2 and on the account pages from then on, where account 2's page also has
// the alternate port switch.
inline constexpr int kRowSipProtocol = 66;
inline constexpr int kRowSipDoubleStream = 67;
inline constexpr int kRowSipStreamPattern = 68;
inline constexpr int kRowSipJitterBuffer = 69;
inline constexpr int kRowSipStunMode = 70;
inline constexpr int kRowSipStunServer = 71;
inline constexpr int kRowSipRegistration = 72;
inline constexpr int kRowSipIncomingCalls = 73;
inline constexpr int kRowSipIncomingOrigin = 74;
inline constexpr int kRowSipDefaultAccount = 75;
inline constexpr int kPageSipAccount1 = 76;
inline constexpr int kPageSipAccount2 = 77;
inline constexpr int kRowSipRegistrar1 = 78;
inline constexpr int kRowSipOutboundProxy = 79;
inline constexpr int kRowSipKeepaliveInterval = 80;
inline constexpr int kRowSipKeepaliveTarget = 81;
inline constexpr int kRowSipRegistrationPeriod = 82;
inline constexpr int kRowSipUseAlternatePort = 83;
inline constexpr int kRowSipPort = 84;
inline constexpr int kRowSipRtpPort = 85;
inline constexpr int kRowSipSessionTimers = 86;
inline constexpr int kRowSipDirectIncomingCalls = 87;
inline constexpr int kRowSipDirectSendOnly = 88;
inline constexpr int kRowSipDirectRtpPort = 89;
inline constexpr int kRowSipDirectReleaseTimeout = 90;
inline constexpr int kRowSipRtpDscp = 91;
inline constexpr int kRowSipPacketReplication = 92;

// The rows of a SIP account's page.
inline constexpr int kRowSipAccountRegistrar = 93;
inline constexpr int kRowSipAccountUser = 94;
inline constexpr int kRowSipAccountDisplayName = 95;
inline constexpr int kRowSipAccountAuthUser = 96;
inline constexpr int kRowSipAccountPassword = 97;

// Coding section: the coding page's codec and automatic bit rate entries.
inline constexpr int kPageCodec1 = 98;
inline constexpr int kPageCodec2 = 99;
inline constexpr int kPageAutoBitRate = 100;

// The rows of a codec page.
inline constexpr int kRowCodecAlgorithm = 101;
inline constexpr int kRowCodecChannelMode = 102;
inline constexpr int kRowCodecSampleRate = 103;
inline constexpr int kRowCodecBitRate = 104;
inline constexpr int kRowCodecRelay = 105;

// The rows of the automatic bit rate page.
inline constexpr int kRowAutoAdapt = 106;
inline constexpr int kRowAdaptPolicy = 107;
inline constexpr int kRowMinBitRate = 108;
inline constexpr int kRowMaxBitRate = 109;

// Audio section: the rows and entries of the audio page.
inline constexpr int kRowInputLimiters = 110;
inline constexpr int kRowInputFormat = 111;
inline constexpr int kRowChannelKnob = 112;
inline constexpr int kRowOperationMode = 113;
inline constexpr int kPageMonitoring = 114;
inline constexpr int kRowDynamics = 117;
inline constexpr int kRowLimiterThreshold = 118;
inline constexpr int kRowCompressorThreshold = 119;
inline constexpr int kRowCompressorRatio = 120;
inline constexpr int kRowAttackTime = 121;
inline constexpr int kRowAes67State = 122;
inline constexpr int kPageRavenna = 123;

// The rows of the monitoring page.
inline constexpr int kRowSideTone = 115;
inline constexpr int kRowIntercom = 116;

// The audio-over-IP module page: its settings, its entries and its status rows.
inline constexpr int kRowRavennaDeviceName = 124;
inline constexpr int kRowRavennaSampleRate = 125;
inline constexpr int kRowRavennaResolution = 126;
inline constexpr int kRowRavennaPtpDomain = 127;
inline constexpr int kRowRavennaNetMode = 128;
inline constexpr int kPageRavennaAddress1 = 129;
inline constexpr int kPageRavennaAddress2 = 130;
inline constexpr int kPageRavennaInputs = 137;
inline constexpr int kPageRavennaOutput = 148;
inline constexpr int kRowRavennaLinkState = 163;
inline constexpr int kRowRavennaSyncState = 164;
inline constexpr int kRowRavennaLockState = 165;
inline constexpr int kRowRavennaPtpState = 166;
inline constexpr int kRowRavennaManufacturer = 167;
inline constexpr int kRowRavennaModel = 168;
inline constexpr int kRowRavennaFirmwareVersion = 169;
inline constexpr int kRowRavennaHardwareRevision = 170;
inline constexpr int kRowRavennaSoftwareRevision = 171;
inline constexpr int kRowRavennaMaintenanceRevision = 172;

// The rows of the module's addressing pages (one per interface).
inline constexpr int kRowRavennaDhcp = 131;
inline constexpr int kRowRavennaIpAddress = 132;
inline constexpr int kRowRavennaSubnet = 133;
inline constexpr int kRowRavennaGateway = 134;
inline constexpr int kRowRavennaMacAddress = 135;

// The input streams page: one entry per receive slot, and the receiver delay.
inline constexpr int kPageStreamFirst = 138;
inline constexpr int kPageStreamLast = 143;
inline constexpr int kRowReceiverDelay = 147;

// The rows of a receive slot's page.
inline constexpr int kRowStreamId = 144;
inline constexpr int kRowStreamChannel = 145;
inline constexpr int kRowStreamMode = 146;

// The rows of the output stream page.
inline constexpr int kRowOutputStreamName = 149;
inline constexpr int kRowOutputTransmit = 150;
inline constexpr int kRowOutputInterfaces = 151;
inline constexpr int kRowOutputInterface1Caption = 152;
inline constexpr int kRowOutputAutoconf1 = 153;
inline constexpr int kRowOutputMcAddr1 = 154;
inline constexpr int kRowOutputMcPort1 = 155;
inline constexpr int kRowOutputInterface2Caption = 156;
inline constexpr int kRowOutputAutoconf2 = 157;
inline constexpr int kRowOutputMcAddr2 = 158;
inline constexpr int kRowOutputMcPort2 = 159;
inline constexpr int kRowOutputChannelCount = 160;
inline constexpr int kRowOutputPacketTime = 161;

// Book section. A stored item's page is one id for every kind; its data names its list.
inline constexpr int kPageCallProfiles = 173;
inline constexpr int kPagePresets = 174;
inline constexpr int kPageSipProfiles = 175;
inline constexpr int kPageSnapshots = 176;
inline constexpr int kRowNewStoredItem = 177;
inline constexpr int kPageStoredItem = 178;

// The rows of a stored item's page, and those only a call profile's page has.
inline constexpr int kRowStoredItemName = 179;
inline constexpr int kRowProfileNetwork = 180;
inline constexpr int kRowProfileAlgorithm = 181;
inline constexpr int kRowProfileChannelMode = 182;
inline constexpr int kRowProfileSampleRate = 183;
inline constexpr int kRowProfileBitRate = 184;
inline constexpr int kRowProfileRemote = 185;
inline constexpr int kRowProfileRemote2 = 186;
inline constexpr int kRowStoredItemLoad = 187;
inline constexpr int kRowStoredItemUpdate = 188;
inline constexpr int kRowStoredItemDelete = 189;

// Tools section: the rows and entries of the Tools page. Firmware without the sound ID page
// shows its play row on the Tools page itself.
inline constexpr int kRowReboot = 191;
inline constexpr int kRowAccessLevel = 194;
inline constexpr int kPageSoundId = 195;
inline constexpr int kPageSoftkeys = 198;
inline constexpr int kPageLabels = 209;
inline constexpr int kPageMiscellaneous = 229;
inline constexpr int kPageTroubleshooting = 241;
inline constexpr int kPageRemoteAssistance = 245;
inline constexpr int kPagePasswords = 252;

// The rows of the sound ID page.
inline constexpr int kRowPlaySoundId = 196;
inline constexpr int kRowSoundIdShortcut = 197;

// The soft keys page's entries, one per key, and the rows of a key's page.
inline constexpr int kPageSoftkeyFirst = 199;
inline constexpr int kPageSoftkeyLast = 205;
inline constexpr int kRowSoftkeyCategory = 206;
inline constexpr int kRowSoftkeyFunction = 207;
inline constexpr int kRowSoftkeyMode = 208;

// The rows of the labels page: two info labels, two contact labels, then the input labels.
inline constexpr int kRowFirstInfoLabel = 210;
inline constexpr int kRowFirstContactLabel = 212;
inline constexpr int kRowFirstInputLabel = 214;
inline constexpr int kRowLastInputLabel = 228;

// The rows of the miscellaneous page.
inline constexpr int kRowInput1 = 231;
inline constexpr int kRowInput2 = 232;
inline constexpr int kRowRelay1 = 233;
inline constexpr int kRowRelay2 = 234;
inline constexpr int kRowAutoRedial1 = 235;
inline constexpr int kRowAutoRedial2 = 236;
inline constexpr int kRowRedialAttempts = 237;
inline constexpr int kRowRedialTime = 238;
inline constexpr int kRowNtpServer = 239;
inline constexpr int kRowCustomNtpServer = 240;

// The rows of the troubleshooting page.
inline constexpr int kRowLogLevel = 242;
inline constexpr int kRowLogAddr = 243;
inline constexpr int kRowReset = 244;

// The rows of the remote assistance page.
inline constexpr int kRowRemoteAccess = 246;
inline constexpr int kRowRemoteNetwork = 247;
inline constexpr int kRowRemoteServer = 248;
inline constexpr int kRowRemoteSerialNo = 249;
inline constexpr int kRowRemoteCodecId = 250;
inline constexpr int kRowRemotePassword = 251;

// The rows of the passwords page.
inline constexpr int kRowAdministratorPassword = 253;
inline constexpr int kRowExpertPassword = 254;
inline constexpr int kRowOperatorPassword = 255;

// Status section: the rows and entries of the Status page. Each interface family has four
// rows; a mobile interface's row opens its page.
inline constexpr int kRowStatusMode = 256;
inline constexpr int kRowStatusCodec1 = 257;
inline constexpr int kRowStatusCodec2 = 258;
inline constexpr int kPageConnections = 259;
inline constexpr int kPageAoipStatus = 279;
inline constexpr int kRowStatusEthernetFirst = 285;
inline constexpr int kRowStatusEthernetLast = 288;
inline constexpr int kPageMobileStatusFirst = 289;
inline constexpr int kPageMobileStatusLast = 292;
inline constexpr int kRowStatusWifiFirst = 297;
inline constexpr int kRowStatusWifiLast = 300;
inline constexpr int kRowStatusRemoteAccess = 301;
inline constexpr int kRowStatusSerialNumber = 302;
inline constexpr int kRowStatusFirmwareVersion = 303;
inline constexpr int kRowStatusAoipVersion = 304;
inline constexpr int kRowStatusSoftwareBuild = 305;

// The connections page: one part per link, whose rows carry the part's id as their data. The
// two statistics rows of a part open the link's statistics page.
inline constexpr int kConnectionsLink1 = 260;
inline constexpr int kConnectionsLink2 = 261;
inline constexpr int kRowCallState = 262;
inline constexpr int kRowCallNetwork = 263;
inline constexpr int kRowRemoteAddress = 264;
inline constexpr int kRowCallQuality = 265;
inline constexpr int kRowTransmission = 266;
inline constexpr int kRowReception = 267;
inline constexpr int kRowDetailedStatistics = 268;
inline constexpr int kRowLatestStatistics = 269;

// The call statistics pages, one per link, and their rows.
inline constexpr int kPageCallStatistics1 = 270;
inline constexpr int kPageCallStatistics2 = 271;
inline constexpr int kRowTxDuration = 272;
inline constexpr int kRowTxPackets = 273;
inline constexpr int kRowTxJitter = 274;
inline constexpr int kRowRxDuration = 275;
inline constexpr int kRowRxPackets = 276;
inline constexpr int kRowRxJitter = 277;
inline constexpr int kRowRxBuffer = 278;

// The rows of the AoIP controller's status page.
inline constexpr int kRowAoipDefaultProtocol = 280;
inline constexpr int kRowAoipSipUser1 = 281;
inline constexpr int kRowAoipSipUser2 = 282;
inline constexpr int kRowAoipPublicAddress = 283;
inline constexpr int kRowAoipNatType = 284;

// The rows of a mobile interface's status page.
inline constexpr int kRowMobileStatusOperator = 293;
inline constexpr int kRowMobileStatusTechnology = 294;
inline constexpr int kRowMobileStatusSignal = 295;
inline constexpr int kRowMobileStatusDataService = 296;

inline constexpr int kFirstStoredRow = 306;
