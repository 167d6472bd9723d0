#pragma once

#include <string>

// Parameter keys of the device model, one set per owning class, each key a process-wide constant
// text built before main() runs. Keys are case-sensitive and sent exactly as written (some are
// upper case). A text that occurs in several sets ("mode", "local_addr", "authentication", ...)
// has one constant per set: the Ethernet "mode" and the mobile "mode" are different parameters
// that differ by the network id sent with them.
//
// Name of a constant: k, the set, "Key", then the key with each "_"-separated part capitalised
// ("input1_gain" of the audio set is kAudioKeyInput1Gain, "SIP_UDP_PORT" kAoipKeySipUdpPort).
// Being ordinary globals, they are not for initialising other globals in other translation units.

// SIP and AoIP keys (TComAoIPController and its two SIP account records). The second account's
// keys are the first's with the suffix "2".
extern const std::string kAoipKeySipState;
extern const std::string kAoipKeySipStateCause;
extern const std::string kAoipKeySipRegistrar;
extern const std::string kAoipKeySipUser;
extern const std::string kAoipKeySipDisplayName;
extern const std::string kAoipKeySipAuthUser;
extern const std::string kAoipKeySipPassword;
extern const std::string kAoipKeySipState2;
extern const std::string kAoipKeySipStateCause2;
extern const std::string kAoipKeySipRegistrar2;
extern const std::string kAoipKeySipUser2;
extern const std::string kAoipKeySipDisplayName2;
extern const std::string kAoipKeySipAuthUser2;
extern const std::string kAoipKeySipPassword2;
extern const std::string kAoipKeyAudioMode;
extern const std::string kAoipKeyDoubleCodec;
extern const std::string kAoipKeyDoubleStream;
extern const std::string kAoipKeyStreamPattern;
extern const std::string kAoipKeySipMode;
extern const std::string kAoipKeySipAccCalls;
extern const std::string kAoipKeySipChkCalls;
extern const std::string kAoipKeySipUseUport2;
extern const std::string kAoipKeySipProxy;
extern const std::string kAoipKeySipKaInterval;
extern const std::string kAoipKeySipKaTarget;
extern const std::string kAoipKeySipDefAccount;
extern const std::string kAoipKeySipReRegTo;
extern const std::string kAoipKeySipUdpPort;
extern const std::string kAoipKeyRtpStartPort;
extern const std::string kAoipKeySipSessTimers;
extern const std::string kAoipKeyRtpTos;
extern const std::string kAoipKeyStunMode;
extern const std::string kAoipKeyStunServer;
extern const std::string kAoipKeyStunNatType;
extern const std::string kAoipKeyPublicAddr;
extern const std::string kAoipKeyDrtpAccCalls;
extern const std::string kAoipKeyDrtpSendOnly;
extern const std::string kAoipKeyDrtpRtpPort;
extern const std::string kAoipKeyDrtpRelTimeout;
extern const std::string kAoipKeyMpEcmBfShift;
extern const std::string kAoipKeyAoipVersion;
extern const std::string kAoipKeyJitterab;

// Audio keys (TAudioSettings, the first 37) and routing-matrix keys (TMatrixSettings, the last 8).
extern const std::string kAudioKeyAuxiliaryBoard;
extern const std::string kAudioKeyAudioProfile;
extern const std::string kAudioKeyInput1Gain;
extern const std::string kAudioKeyInput1Power;
extern const std::string kAudioKeyInput1Limiter;
extern const std::string kAudioKeyInput2Gain;
extern const std::string kAudioKeyInput2Power;
extern const std::string kAudioKeyInput2Limiter;
extern const std::string kAudioKeyInput2Pair;
extern const std::string kAudioKeyInput3Gain;
extern const std::string kAudioKeyInput3Power;
extern const std::string kAudioKeyInput3Limiter;
extern const std::string kAudioKeyInput3Level;
extern const std::string kAudioKeyInput3Filter;
extern const std::string kAudioKeyInput3Pad;
extern const std::string kAudioKeyInput4Gain;
extern const std::string kAudioKeyInput4Limiter;
extern const std::string kAudioKeyInput4Level;
extern const std::string kAudioKeyInput4Filter;
extern const std::string kAudioKeyInput4Pad;
extern const std::string kAudioKeyInput4Pair;
extern const std::string kAudioKeyLineOutputLevel;
extern const std::string kAudioKeyLineOutput2Level;
extern const std::string kAudioKeyLimiterThreshold;
extern const std::string kAudioKeyInputSource;
extern const std::string kAudioKeyWaveFile;
extern const std::string kAudioKeyWaveScut;
extern const std::string kAudioKeyDrcState;
extern const std::string kAudioKeyDrcLimThreshold;
extern const std::string kAudioKeyDrcThresholdCmp;
extern const std::string kAudioKeyDrcRatioCmp;
extern const std::string kAudioKeyDrcAttack;
extern const std::string kAudioKeyAuxPair;
extern const std::string kAudioKeyAesPair;
extern const std::string kAudioKeyRavInPair;
extern const std::string kAudioKeyRavOuPair;
extern const std::string kAudioKeyLinePair;
extern const std::string kAudioKeyMatrixIn;
extern const std::string kAudioKeyMatrixOu;
extern const std::string kAudioKeyMatrixHp;
extern const std::string kAudioKeyMatrixPo;
extern const std::string kAudioKeyMatrixMgn;
extern const std::string kAudioKeyMatrixOpt;
extern const std::string kAudioKeyMatrixVol;
extern const std::string kAudioKeyMatrixBal;

// RAVENNA keys (TComRavennaController). A key with the suffix "1" is the same setting of the
// module's second network port; "rav_stream_in" alone names the list of receivable streams.
extern const std::string kRavennaKeyRavManufacturer;
extern const std::string kRavennaKeyRavHardwareName;
extern const std::string kRavennaKeyRavDeviceName;
extern const std::string kRavennaKeyRavIfCount;
extern const std::string kRavennaKeyRavNetMode;
extern const std::string kRavennaKeyRavSampleRate;
extern const std::string kRavennaKeyRavResolution;
extern const std::string kRavennaKeyRavPtpDomain;
extern const std::string kRavennaKeyRavDhcp;
extern const std::string kRavennaKeyRavDhcp1;
extern const std::string kRavennaKeyRavIpAddr;
extern const std::string kRavennaKeyRavIpAddr1;
extern const std::string kRavennaKeyRavSubnet;
extern const std::string kRavennaKeyRavSubnet1;
extern const std::string kRavennaKeyRavGateway;
extern const std::string kRavennaKeyRavGateway1;
extern const std::string kRavennaKeyRavHwAddr;
extern const std::string kRavennaKeyRavHwAddr1;
extern const std::string kRavennaKeyRavVlanId;
extern const std::string kRavennaKeyRavVlanId1;
extern const std::string kRavennaKeyRavStreamIn;
extern const std::string kRavennaKeyRavStreamIn0;
extern const std::string kRavennaKeyRavStatusIn0;
extern const std::string kRavennaKeyRavStreamIn1;
extern const std::string kRavennaKeyRavStatusIn1;
extern const std::string kRavennaKeyRavStreamIn2;
extern const std::string kRavennaKeyRavStatusIn2;
extern const std::string kRavennaKeyRavStreamIn3;
extern const std::string kRavennaKeyRavStatusIn3;
extern const std::string kRavennaKeyRavStreamIn4;
extern const std::string kRavennaKeyRavStatusIn4;
extern const std::string kRavennaKeyRavStreamIn5;
extern const std::string kRavennaKeyRavStatusIn5;
extern const std::string kRavennaKeyRavDelayMinIn;
extern const std::string kRavennaKeyRavDelayMaxIn;
extern const std::string kRavennaKeyRavDelayIn;
extern const std::string kRavennaKeyRavNameOu;
extern const std::string kRavennaKeyRavModeOu;
extern const std::string kRavennaKeyRavNetifOu;
extern const std::string kRavennaKeyRavAutoconfOu;
extern const std::string kRavennaKeyRavAutoconfOu1;
extern const std::string kRavennaKeyRavMcAddrOu;
extern const std::string kRavennaKeyRavMcAddrOu1;
extern const std::string kRavennaKeyRavMcPortOu;
extern const std::string kRavennaKeyRavMcPortOu1;
extern const std::string kRavennaKeyRavChCountOu;
extern const std::string kRavennaKeyRavPtimeOu;
extern const std::string kRavennaKeyRavSyncState;
extern const std::string kRavennaKeyRavLockState;
extern const std::string kRavennaKeyRavLinkState;
extern const std::string kRavennaKeyRavLinkState1;
extern const std::string kRavennaKeyRavPtpState;
extern const std::string kRavennaKeyRavPtpState1;
extern const std::string kRavennaKeyRavHardwareRev;
extern const std::string kRavennaKeyRavFirmwareVer;
extern const std::string kRavennaKeyRavFirmwareRev;
extern const std::string kRavennaKeyRavRescueosRev;

// Device keys (TComDevice, operation mode): the targets and the network the operation mode is sent
// to; "aoip" is also the AoIP network id.
extern const std::string kDeviceKeyAic;
extern const std::string kDeviceKeyDsp;
extern const std::string kDeviceKeyAoip;

// Front-panel keys (TComDevice's front-panel conversations, QVantelSoftkeys): each is followed by
// its number, "softkey" 1 to 7, "info_label" and "contact_label" 1 and 2.
extern const std::string kPanelKeySoftkey;
extern const std::string kPanelKeyInfoLabel;
extern const std::string kPanelKeyContactLabel;
// The front panel's own record ("target" "ui"), named after the program part that owns it; also
// the name under which the program joins the device (ksm::CCom::initialize).
extern const std::string kPanelKeyVnFrontpanel;

// Access-level passwords and the autologin switch, in this program's settings record.
extern const std::string kPasswordKeyAdministrator;
extern const std::string kPasswordKeyExpert;
extern const std::string kPasswordKeyOperator;
extern const std::string kPasswordKeyAutoLogin;

// Tools keys: GPIO inputs and relays and the time server ("target" "general"), auto redial
// ("target" "network").
extern const std::string kToolsKeyInput1;
extern const std::string kToolsKeyInput2;
extern const std::string kToolsKeyRelay1;
extern const std::string kToolsKeyRelay2;
extern const std::string kToolsKeyNtpAddr;
extern const std::string kToolsKeyNtpAddrCustom;
extern const std::string kToolsKeyAutoRedial1;
extern const std::string kToolsKeyAutoRedial2;
extern const std::string kToolsKeyAutoRedialAttempts;
extern const std::string kToolsKeyAutoRedialTime;
// The sound ID file the device plays, and its file type.
extern const std::string kSoundIdFile;

// Ethernet keys (TComEthernetController).
extern const std::string kEthernetKeyMode;
extern const std::string kEthernetKeyLocalAddr;
extern const std::string kEthernetKeySubnet;
extern const std::string kEthernetKeyGateway;
extern const std::string kEthernetKeyDns1;
extern const std::string kEthernetKeyDns2;
extern const std::string kEthernetKeyLinkMode;
extern const std::string kEthernetKeyLinkModeNeg;
extern const std::string kEthernetKeyHwAddr;
extern const std::string kEthernetKeyCable;

// Keys shared by the network controllers (TComNetworkController: Ethernet, mobile, Wi-Fi).
extern const std::string kNetworkKeyNetworkQuality;
extern const std::string kNetworkKeyAjbProfile;

// ISDN keys (TComIsdnController).
extern const std::string kIsdnKey5as;
extern const std::string kIsdnKeyProtocol;
extern const std::string kIsdnKeySpid;
extern const std::string kIsdnKeyAddrSb0Ch0;
extern const std::string kIsdnKeyAddrSb0Ch1;
extern const std::string kIsdnKeySubaddrSb0Ch0;
extern const std::string kIsdnKeySubaddrSb0Ch1;

// Mobile keys (TComMobileController).
extern const std::string kMobileKeyMode;
extern const std::string kMobileKeyManufacturer;
extern const std::string kMobileKeyModel;
extern const std::string kMobileKeyRevision;
extern const std::string kMobileKeyImei;
extern const std::string kMobileKeyImsi;
extern const std::string kMobileKeyEchoCancel;
extern const std::string kMobileKeyNoiseGate;
extern const std::string kMobileKeyDiversity;
extern const std::string kMobileKeyRat;
extern const std::string kMobileKeyPlmn;
extern const std::string kMobileKeyPinPersistent;
extern const std::string kMobileKeyApn;
extern const std::string kMobileKeyMsisdn;
extern const std::string kMobileKeyDataConnection;
extern const std::string kMobileKeyDataConnectionState;
extern const std::string kMobileKeyUsername;
extern const std::string kMobileKeyPassword;
extern const std::string kMobileKeyAuthentication;
extern const std::string kMobileKeyRegistrationState;
extern const std::string kMobileKeyOperatorLong;
extern const std::string kMobileKeyOperatorShort;
extern const std::string kMobileKeySignalQuality;
extern const std::string kMobileKeySignalQualityDbm;
extern const std::string kMobileKeyTechnology;

// Wi-Fi keys (TComWifiController).
extern const std::string kWifiKeySsid;
extern const std::string kWifiKeySsidCustom;
extern const std::string kWifiKeyAuthentication;
extern const std::string kWifiKeyAuthenticationCustom;
extern const std::string kWifiKeyPassphrase;
extern const std::string kWifiKeyLocalAddr;
extern const std::string kWifiKeyDataConnection;
extern const std::string kWifiKeyDataConnectionState;
extern const std::string kWifiKeySignalQuality;
extern const std::string kWifiKeySignalQualityDbm;
