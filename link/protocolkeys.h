#pragma once

#include <string>

// The device protocol's common vocabulary: parameter keys, targets, actions, reply words, INFO and
// EVENT types, alarm names, coding words and cause texts. Keys that belong to one controller only
// are defined beside that controller.
//
// Every word is a process-wide constant text, created before main() runs and destroyed at program
// exit; code compares and copies them and never changes them. Being ordinary globals, they are not
// for initialising other globals in other translation units.

// An empty text, for places where a stored value must be empty.
extern const std::string kEmptyText;

// The cause text of a code, from a table of 204 entries indexed by code - 1. Codes 1 to 28, 100 to
// 141 and 200 to 204 give their own texts; every other code gives "200-unknown error".
[[nodiscard]] const std::string &causeText(int code);

// The code whose cause text equals text exactly (all bytes, case included) among the 74 texts
// other than "200-unknown error"; any other text, the empty one and "200-unknown error" give 200.
[[nodiscard]] int causeCodeFromText(const std::string &text);

// Message fields: parameter keys that messages of every kind carry.
extern const std::string kKeyAction;
extern const std::string kKeyCause;
extern const std::string kKeyCauseInfo;
extern const std::string kKeyReturn;
extern const std::string kKeyId;
extern const std::string kKeyTarget;
extern const std::string kKeyNetwork;
extern const std::string kKeyNetworkMode;
extern const std::string kKeyCat;
extern const std::string kKeyEventType;
extern const std::string kKeyInfoType;
extern const std::string kKeyInfoSource;
extern const std::string kKeyProgress;
extern const std::string kKeyType;
extern const std::string kKeyState;
extern const std::string kKeyMode;
extern const std::string kKeyPassword;
extern const std::string kKeyInfo;
extern const std::string kKeyCodec;
extern const std::string kKeyCodecRx;
extern const std::string kKeyCodecTx;
extern const std::string kKeyAlg;
extern const std::string kKeyBitrate;
extern const std::string kKeySamplerate;
extern const std::string kKeyErrorc;
extern const std::string kKeyCodecMode;
extern const std::string kKeyCoordMode;
extern const std::string kKeyDstreamMode;
extern const std::string kKeyDcodec1;
extern const std::string kKeyDcodecTx1;
extern const std::string kKeyDcodecRx1;
extern const std::string kKeyDcodec2;
extern const std::string kKeyDcodecTx2;
extern const std::string kKeyDcodecRx2;
extern const std::string kKeyCommLink;
extern const std::string kKeyRemoteAddr;
extern const std::string kKeyRemoteAddr2;
extern const std::string kKeyRemoteAddr3;
extern const std::string kKeyRemoteAddr4;
extern const std::string kKeyLocalAddr;
extern const std::string kKeyLocalAddr2;
extern const std::string kKeyName;
extern const std::string kKeyCmd;
extern const std::string kKeyRelayIn;
extern const std::string kKeyRelayOut;
extern const std::string kKeyCoordLine;
extern const std::string kKeyStunNatType;
extern const std::string kKeyPublicAddr;
extern const std::string kKeyPublicPort;
extern const std::string kKeyPath;
extern const std::string kKeySecondsTotal;
extern const std::string kKeySecondsPassed;
extern const std::string kKeySecondsRemaining;
extern const std::string kKeyMarkBeginSec;
extern const std::string kKeyMarkEndSec;
extern const std::string kKeyMarkBeginByte;
extern const std::string kKeyMarkEndByte;
extern const std::string kKeyMaxBandwidth;
extern const std::string kKeyExtInput1;
extern const std::string kKeyExtInput2;
extern const std::string kKeyExtInput3;
extern const std::string kKeyExtInput4;
extern const std::string kKeyExtInput5;
extern const std::string kKeyExtInput6;
extern const std::string kKeyExtRelay1;
extern const std::string kKeyExtRelay2;
extern const std::string kKeyExtRelay3;
extern const std::string kKeyExtRelay4;
extern const std::string kKeyExtRelay5;
extern const std::string kKeyExtRelay6;
extern const std::string kKeyExtRelay7;
extern const std::string kKeyExtRelay8;
extern const std::string kKeyDigiIn1;
extern const std::string kKeyDigiIn2;
extern const std::string kKeyDigiIn3;
extern const std::string kKeyDigiIn4;
extern const std::string kKeyDigiIn5;
extern const std::string kKeyDigiIn6;
extern const std::string kKeyDigiIn7;
extern const std::string kKeyDigiIn8;
extern const std::string kKeyLink1;
extern const std::string kKeyLink2;
extern const std::string kKeyKeys;
extern const std::string kKeyReturnFmt;
extern const std::string kKeyMessage;
extern const std::string kKeySystemStatus;
extern const std::string kKeySystemUpdate;
extern const std::string kKeyAes67Reset;

// Targets and categories: values of "target", "cat" and "network".
extern const std::string kTargetNetwork;
extern const std::string kTargetAudio;
extern const std::string kTargetUi;
extern const std::string kTargetGeneral;
extern const std::string kTargetDb;
extern const std::string kTargetIp;
extern const std::string kTargetEth;
extern const std::string kTargetMobile;
extern const std::string kTargetWifi;
extern const std::string kTargetIsdn;
extern const std::string kTargetPots;
extern const std::string kTargetLl;
extern const std::string kTargetHwtest;

// Actions: values of "action" in DO messages.
extern const std::string kActionCon;
extern const std::string kActionConacc;
extern const std::string kActionSendUserInfo;
extern const std::string kActionDcon;
extern const std::string kActionReboot;
extern const std::string kActionShutdown;
extern const std::string kActionReinit;
extern const std::string kActionSubscribe;
extern const std::string kActionUnsubscribe;
extern const std::string kActionCreate;
extern const std::string kActionDelete;
extern const std::string kActionUpdate;
extern const std::string kActionRename;
extern const std::string kActionOpen;
extern const std::string kActionLoad;
extern const std::string kActionCall;
extern const std::string kActionImport;
extern const std::string kActionExport;
extern const std::string kActionReset;
extern const std::string kActionValidate;
extern const std::string kActionChangeRelayIn;
extern const std::string kActionChangeRelayOut;
extern const std::string kActionChangeAlarmOut;
extern const std::string kActionChangeWatchdogOut;
extern const std::string kActionSystemUpdate;
extern const std::string kActionStart;
extern const std::string kActionStop;
extern const std::string kActionPlay;
extern const std::string kActionRecord;
extern const std::string kActionFforward;
extern const std::string kActionRewind;
extern const std::string kActionSetMark;
extern const std::string kActionSend;
extern const std::string kActionStopUpload;
extern const std::string kActionDisplay;
extern const std::string kActionChangeUsb;

// Reply words: values of "return". "PROGRESS" means a further part of the reply follows.
extern const std::string kReplyOk;
extern const std::string kReplyNok;
extern const std::string kReplyError;
extern const std::string kReplyProgress;

// INFO and EVENT types: values of "info_type" and "event_type".
extern const std::string kEventHardwareFailure;
extern const std::string kEventHardwareUnplugged;
extern const std::string kEventConfigInfo;
extern const std::string kEventAoipConfig;
extern const std::string kEventStunInfo;
extern const std::string kEventCallInfo;
extern const std::string kEventCodecInformation;
extern const std::string kEventCallProceeding;
extern const std::string kEventCallAlerting;
extern const std::string kEventCallRing;
extern const std::string kEventCallReceived;
extern const std::string kEventCallActive;
extern const std::string kEventUserInfo;
extern const std::string kEventTxQualityReport;
extern const std::string kEventRxQualityReport;
extern const std::string kEventCallDisconnected;
extern const std::string kEventCallReleased;
extern const std::string kEventCallLost;
extern const std::string kEventCallError;
extern const std::string kEventCallAutoRedial;
extern const std::string kEventDataConnected;
extern const std::string kEventDataDisconnected;
extern const std::string kEventDefaultNetwork;
extern const std::string kEventSecondaryNetwork;
extern const std::string kEventDefaultCodec;
extern const std::string kEventCodecChange;
extern const std::string kEventDspStatus;
extern const std::string kEventRecStatus;
extern const std::string kEventChannelRequest;
extern const std::string kEventBganDetected;
extern const std::string kEventBganState;
extern const std::string kEventRelayIn;
extern const std::string kEventRelayOut;
extern const std::string kEventDigiIn;
extern const std::string kEventRemoteCmd;
extern const std::string kEventTextMessage;
extern const std::string kEventRestartRequired;
extern const std::string kEventSystemUpdate;
extern const std::string kEventRebooting;
extern const std::string kEventShuttingdown;
extern const std::string kEventUploadState;
extern const std::string kEventKnownKeys;
extern const std::string kEventAlarm;
extern const std::string kEventControlLink;
extern const std::string kEventDisplay;
extern const std::string kEventDataConRequest;
extern const std::string kEventDataDconRequest;
extern const std::string kEventUsbDeviceDetect;
extern const std::string kEventBatteryLevel;
extern const std::string kEventInputState;
extern const std::string kEventInputLimiter;
extern const std::string kEventSignalQuality;
extern const std::string kEventNetworkInfo;
extern const std::string kEventPotsSpeed;
extern const std::string kEventTimeStamp;
extern const std::string kEventUploadProgress;
extern const std::string kEventHeadphoneSource;
extern const std::string kEventAudioChangeset;
extern const std::string kEventSipRegistration;
extern const std::string kEventSipRegistration2;
extern const std::string kEventConfigChangeset;
extern const std::string kEventAudioLevels;
extern const std::string kEventRemoteNumbers;
extern const std::string kEventReinit;

// INFO sources: values of "info_source". "zman.0" and "bklyn.0" are the two kinds of
// audio-over-IP module.
extern const std::string kSourceAic;
extern const std::string kSourceCore;
extern const std::string kSourceHcc;
extern const std::string kSourceZman0;
extern const std::string kSourceBklyn0;

// Level reports (EVENT "audio_levels"): the transmit and receive levels, and the prefixes of the
// output ("ou" + 1 and 2) and input ("in" + 1 to 11) levels.
extern const std::string kLevelKeyTxL;
extern const std::string kLevelKeyTxR;
extern const std::string kLevelKeyRxL;
extern const std::string kLevelKeyRxR;
extern const std::string kLevelKeyOu;
extern const std::string kLevelKeyIn;

// Recorder states: values of "state" in "rec_status".
extern const std::string kRecorderPlay;
extern const std::string kRecorderPlayPaused;
extern const std::string kRecorderStopped;
extern const std::string kRecorderError;

// Alarm names.
extern const std::string kAlarmPll1;
extern const std::string kAlarmPll2;
extern const std::string kAlarmClk1;
extern const std::string kAlarmClk2;
extern const std::string kAlarmSlipClk1;
extern const std::string kAlarmSlipClk2;
extern const std::string kAlarmDec1;
extern const std::string kAlarmDec2;
extern const std::string kAlarmFallbackEnc1;
extern const std::string kAlarmFallbackEnc2;
extern const std::string kAlarmFallbackDec1;
extern const std::string kAlarmFallbackDec2;
extern const std::string kAlarmOvl;
extern const std::string kAlarmTemperature;
extern const std::string kAlarmVoltage;
extern const std::string kAlarmAesUnlock;
extern const std::string kAlarmAesValidity;
extern const std::string kAlarmAesError;
extern const std::string kAlarmInternal;
extern const std::string kAlarmExternal;

// Coding algorithm names, in algorithm id order (0 to 28).
extern const std::string kCodecPcma;
extern const std::string kCodecPcmu;
extern const std::string kCodecG711;
extern const std::string kCodecG722;
extern const std::string kCodecG722Srt;
extern const std::string kCodecG722H242;
extern const std::string kCodecG722H221;
extern const std::string kCodec4sb;
extern const std::string kCodecMpa2;
extern const std::string kCodecMpa2p;
extern const std::string kCodecTdac;
extern const std::string kCodecTdacG722;
extern const std::string kCodecG722Tdac;
extern const std::string kCodecCelp;
extern const std::string kCodecAacLbr;
extern const std::string kCodecAacHe;
extern const std::string kCodecAacHev2;
extern const std::string kCodecGsm;
extern const std::string kCodecPhone;
extern const std::string kCodecOpus;
extern const std::string kCodecL16;
extern const std::string kCodecL20;
extern const std::string kCodecL24;
extern const std::string kCodecAacLbrLoas;
extern const std::string kCodecAacHeLoas;
extern const std::string kCodecAacHev2Loas;
extern const std::string kCodecMpa3;
extern const std::string kCodecAacLd;
extern const std::string kCodecAacEld;

// Channel-mode words, in mode order (0 to 3).
extern const std::string kChannelModeMono;
extern const std::string kChannelModeDmono;
extern const std::string kChannelModeStereo;
extern const std::string kChannelModeJstereo;

// Rate texts.
extern const std::string kRate8000;
extern const std::string kRate16000;
extern const std::string kRate24000;
extern const std::string kRate27200;
extern const std::string kRate32000;
extern const std::string kRate48000;
extern const std::string kRate56000;
extern const std::string kRate64000;
extern const std::string kRate96000;
extern const std::string kRate128000;
extern const std::string kRate192000;
extern const std::string kRate256000;
extern const std::string kRate320000;
extern const std::string kRate384000;

// Value of "returnFmt" asking for LIST values joined by the 0x1D character.
extern const std::string kReturnFmtExt;

// Cause texts: three-digit code, "-", phrase. causeText() looks them up by code.
extern const std::string kCauseLocationUnavailable;
extern const std::string kCauseNetworkUnreachable;
extern const std::string kCauseWrongFormat;
extern const std::string kCauseInvalidFile;
extern const std::string kCauseDestinationUnreachable;
extern const std::string kCauseFileCorrupted;
extern const std::string kCauseWrongVersion;
extern const std::string kCauseWrongUnit;
extern const std::string kCauseSdcardMissing;
extern const std::string kCauseSimMissing;
extern const std::string kCauseSimLocked;
extern const std::string kCauseNoGpsFix;
extern const std::string kCauseNotAttached;
extern const std::string kCausePppTimeout;
extern const std::string kCauseNotAllowed;
extern const std::string kCauseNoSignal;
extern const std::string kCauseSimBusy;
extern const std::string kCausePhSimPin;
extern const std::string kCausePhFsimPin;
extern const std::string kCausePhFsimPuk;
extern const std::string kCausePhNetPin;
extern const std::string kCausePhNetPuk;
extern const std::string kCausePhNetsubPin;
extern const std::string kCausePhNetsubPuk;
extern const std::string kCausePhSpPin;
extern const std::string kCausePhSpPuk;
extern const std::string kCausePhCorpPin;
extern const std::string kCausePhCorpPuk;
extern const std::string kCauseWrongPassword;
extern const std::string kCauseParameterNotSet;
extern const std::string kCauseUnknownParameter;
extern const std::string kCauseParameterSetError;
extern const std::string kCauseMandatoryParameterMissing;
extern const std::string kCauseInvalidValue;
extern const std::string kCauseInvalidId;
extern const std::string kCauseNoSpaceLeft;
extern const std::string kCauseInvalidConfig;
extern const std::string kCauseNotSupported;
extern const std::string kCauseNotAvailable;
extern const std::string kCauseFilenameAlreadyExists;
extern const std::string kCauseFileNotFound;
extern const std::string kCauseUnknownDestination;
extern const std::string kCauseUnimplemented;
extern const std::string kCauseResourceBusy;
extern const std::string kCauseInvalidState;
extern const std::string kCauseTimeout;
extern const std::string kCauseResourceUnavailable;
extern const std::string kCauseRemoteAddressMissing;
extern const std::string kCauseNoConnection;
extern const std::string kCauseNoIncomingCallPending;
extern const std::string kCausePinRequired;
extern const std::string kCauseNotRegistered;
extern const std::string kCausePukRequired;
extern const std::string kCausePin2Required;
extern const std::string kCausePuk2Required;
extern const std::string kCauseConnectionActive;
extern const std::string kCauseLoopControlActive;
extern const std::string kCauseMobileDataServiceOff;
extern const std::string kCauseMobileDataServiceFailure;
extern const std::string kCauseMobileDataServiceProcessing;
extern const std::string kCauseUsbHostConnected;
extern const std::string kCauseNotAvailableOn4g;
extern const std::string kCauseNoCable;
extern const std::string kCauseWifiOff;
extern const std::string kCauseWifiFailure;
extern const std::string kCauseWifiConnecting;
extern const std::string kCauseAccountNotAccepted;
extern const std::string kCauseIncompatibleWithSip1;
extern const std::string kCauseInconsistantWithSip2;
extern const std::string kCauseSip1NotConfigured;
extern const std::string kCauseUnknownError;
extern const std::string kCauseHardwareError;
extern const std::string kCauseFileSystemError;
extern const std::string kCauseOsError;
extern const std::string kCauseUnknownCommand;
