#include "link/protocolkeys.h"

const std::string kEmptyText;

const std::string kKeyAction = "action";
const std::string kKeyCause = "cause";
const std::string kKeyCauseInfo = "cause_info";
const std::string kKeyReturn = "return";
const std::string kKeyId = "id";
const std::string kKeyTarget = "target";
const std::string kKeyNetwork = "network";
const std::string kKeyNetworkMode = "network_mode";
const std::string kKeyCat = "cat";
const std::string kKeyEventType = "event_type";
const std::string kKeyInfoType = "info_type";
const std::string kKeyInfoSource = "info_source";
const std::string kKeyProgress = "progress";
const std::string kKeyType = "type";
const std::string kKeyState = "state";
const std::string kKeyMode = "mode";
const std::string kKeyPassword = "password";
const std::string kKeyInfo = "info";
const std::string kKeyCodec = "codec";
const std::string kKeyCodecRx = "codec_rx";
const std::string kKeyCodecTx = "codec_tx";
const std::string kKeyAlg = "alg";
const std::string kKeyBitrate = "bitrate";
const std::string kKeySamplerate = "samplerate";
const std::string kKeyErrorc = "errorc";
const std::string kKeyCodecMode = "codec_mode";
const std::string kKeyCoordMode = "coord_mode";
const std::string kKeyDstreamMode = "dstream_mode";
const std::string kKeyDcodec1 = "dcodec_1";
const std::string kKeyDcodecTx1 = "dcodec_tx_1";
const std::string kKeyDcodecRx1 = "dcodec_rx_1";
const std::string kKeyDcodec2 = "dcodec_2";
const std::string kKeyDcodecTx2 = "dcodec_tx_2";
const std::string kKeyDcodecRx2 = "dcodec_rx_2";
const std::string kKeyCommLink = "comm_link";
const std::string kKeyRemoteAddr = "remote_addr";
const std::string kKeyRemoteAddr2 = "remote_addr2";
const std::string kKeyRemoteAddr3 = "remote_addr3";
const std::string kKeyRemoteAddr4 = "remote_addr4";
const std::string kKeyLocalAddr = "local_addr";
const std::string kKeyLocalAddr2 = "local_addr2";
const std::string kKeyName = "name";
const std::string kKeyCmd = "cmd";
const std::string kKeyRelayIn = "relay_in";
const std::string kKeyRelayOut = "relay_out";
const std::string kKeyCoordLine = "coord_line";
const std::string kKeyStunNatType = "stun_nat_type";
const std::string kKeyPublicAddr = "public_addr";
const std::string kKeyPublicPort = "public_port";
const std::string kKeyPath = "path";
const std::string kKeySecondsTotal = "seconds_total";
const std::string kKeySecondsPassed = "seconds_passed";
const std::string kKeySecondsRemaining = "seconds_remaining";
const std::string kKeyMarkBeginSec = "mark_begin_sec";
const std::string kKeyMarkEndSec = "mark_end_sec";
const std::string kKeyMarkBeginByte = "mark_begin_byte";
const std::string kKeyMarkEndByte = "mark_end_byte";
const std::string kKeyMaxBandwidth = "max_bandwidth";
const std::string kKeyExtInput1 = "ext_input1";
const std::string kKeyExtInput2 = "ext_input2";
const std::string kKeyExtInput3 = "ext_input3";
const std::string kKeyExtInput4 = "ext_input4";
const std::string kKeyExtInput5 = "ext_input5";
const std::string kKeyExtInput6 = "ext_input6";
const std::string kKeyExtRelay1 = "ext_relay1";
const std::string kKeyExtRelay2 = "ext_relay2";
const std::string kKeyExtRelay3 = "ext_relay3";
const std::string kKeyExtRelay4 = "ext_relay4";
const std::string kKeyExtRelay5 = "ext_relay5";
const std::string kKeyExtRelay6 = "ext_relay6";
const std::string kKeyExtRelay7 = "ext_relay7";
const std::string kKeyExtRelay8 = "ext_relay8";
const std::string kKeyDigiIn1 = "digi_in1";
const std::string kKeyDigiIn2 = "digi_in2";
const std::string kKeyDigiIn3 = "digi_in3";
const std::string kKeyDigiIn4 = "digi_in4";
const std::string kKeyDigiIn5 = "digi_in5";
const std::string kKeyDigiIn6 = "digi_in6";
const std::string kKeyDigiIn7 = "digi_in7";
const std::string kKeyDigiIn8 = "digi_in8";
const std::string kKeyLink1 = "link1";
const std::string kKeyLink2 = "link2";
const std::string kKeyKeys = "keys";
const std::string kKeyReturnFmt = "returnFmt";
const std::string kKeyMessage = "message";
const std::string kKeySystemStatus = "system_status";
const std::string kKeySystemUpdate = "system_update";
const std::string kKeyAes67Reset = "aes67_reset";

const std::string kTargetNetwork = "network";
const std::string kTargetAudio = "audio";
const std::string kTargetUi = "ui";
const std::string kTargetGeneral = "general";
const std::string kTargetDb = "db";
const std::string kTargetIp = "ip";
const std::string kTargetEth = "eth";
const std::string kTargetMobile = "mobile";
const std::string kTargetWifi = "wifi";
const std::string kTargetIsdn = "isdn";
const std::string kTargetPots = "pots";
const std::string kTargetLl = "ll";
const std::string kTargetHwtest = "hwtest";

const std::string kActionCon = "con";
const std::string kActionConacc = "conacc";
const std::string kActionSendUserInfo = "send_user_info";
const std::string kActionDcon = "dcon";
const std::string kActionReboot = "reboot";
const std::string kActionShutdown = "shutdown";
const std::string kActionReinit = "reinit";
const std::string kActionSubscribe = "subscribe";
const std::string kActionUnsubscribe = "unsubscribe";
const std::string kActionCreate = "create";
const std::string kActionDelete = "delete";
const std::string kActionUpdate = "update";
const std::string kActionRename = "rename";
const std::string kActionOpen = "open";
const std::string kActionLoad = "load";
const std::string kActionCall = "call";
const std::string kActionImport = "import";
const std::string kActionExport = "export";
const std::string kActionReset = "reset";
const std::string kActionValidate = "validate";
const std::string kActionChangeRelayIn = "change_relay_in";
const std::string kActionChangeRelayOut = "change_relay_out";
const std::string kActionChangeAlarmOut = "change_alarm_out";
const std::string kActionChangeWatchdogOut = "change_watchdog_out";
const std::string kActionSystemUpdate = "system_update";
const std::string kActionStart = "start";
const std::string kActionStop = "stop";
const std::string kActionPlay = "play";
const std::string kActionRecord = "record";
const std::string kActionFforward = "fforward";
const std::string kActionRewind = "rewind";
const std::string kActionSetMark = "set_mark";
const std::string kActionSend = "send";
const std::string kActionStopUpload = "stop_upload";
const std::string kActionDisplay = "display";
const std::string kActionChangeUsb = "change_usb";

const std::string kReplyOk = "OK";
const std::string kReplyNok = "NOK";
const std::string kReplyError = "ERROR";
const std::string kReplyProgress = "PROGRESS";

const std::string kEventHardwareFailure = "0000-hardware failure";
const std::string kEventHardwareUnplugged = "0000-hardware unplugged";
const std::string kEventConfigInfo = "config info";
const std::string kEventAoipConfig = "aoip_config";
const std::string kEventStunInfo = "stun_info";
const std::string kEventCallInfo = "9900-call info";
const std::string kEventCodecInformation = "codec_information";
const std::string kEventCallProceeding = "0100-call proceeding";
const std::string kEventCallAlerting = "0200-call alerting";
const std::string kEventCallRing = "call ring";
const std::string kEventCallReceived = "0600-call received";
const std::string kEventCallActive = "1000-call active";
const std::string kEventUserInfo = "user_info";
const std::string kEventTxQualityReport = "tx-quality-report";
const std::string kEventRxQualityReport = "rx-quality-report";
const std::string kEventCallDisconnected = "1200-call disconnected";
const std::string kEventCallReleased = "1900-call released";
const std::string kEventCallLost = "1901-call lost";
const std::string kEventCallError = "1902-call error";
const std::string kEventCallAutoRedial = "call auto redial";
const std::string kEventDataConnected = "data connected";
const std::string kEventDataDisconnected = "data disconnected";
const std::string kEventDefaultNetwork = "default_network";
const std::string kEventSecondaryNetwork = "secondary_network";
const std::string kEventDefaultCodec = "default_codec";
const std::string kEventCodecChange = "codec_change";
const std::string kEventDspStatus = "dsp_status";
const std::string kEventRecStatus = "rec_status";
const std::string kEventChannelRequest = "channel_request";
const std::string kEventBganDetected = "bgan_detected";
const std::string kEventBganState = "bgan_state";
const std::string kEventRelayIn = "relay_in";
const std::string kEventRelayOut = "relay_out";
const std::string kEventDigiIn = "digi_in";
const std::string kEventRemoteCmd = "remote_cmd";
const std::string kEventTextMessage = "text_message";
const std::string kEventRestartRequired = "restart_required";
const std::string kEventSystemUpdate = "system_update";
const std::string kEventRebooting = "rebooting";
const std::string kEventShuttingdown = "shuttingdown";
const std::string kEventUploadState = "upload_state";
const std::string kEventKnownKeys = "known_keys";
const std::string kEventAlarm = "alarm";
const std::string kEventControlLink = "control_link";
const std::string kEventDisplay = "display";
const std::string kEventDataConRequest = "data_con_request";
const std::string kEventDataDconRequest = "data_dcon_request";
const std::string kEventUsbDeviceDetect = "usb_device_detect";
const std::string kEventBatteryLevel = "battery_level";
const std::string kEventInputState = "input_state";
const std::string kEventInputLimiter = "input_limiter";
const std::string kEventSignalQuality = "signal_quality";
const std::string kEventNetworkInfo = "network_info";
const std::string kEventPotsSpeed = "pots_speed";
const std::string kEventTimeStamp = "time_stamp";
const std::string kEventUploadProgress = "upload_progress";
const std::string kEventHeadphoneSource = "headphone_source";
const std::string kEventAudioChangeset = "audio_changeset";
const std::string kEventSipRegistration = "sip_registration";
const std::string kEventSipRegistration2 = "sip_registration2";
const std::string kEventConfigChangeset = "config_changeset";
const std::string kEventAudioLevels = "audio_levels";
const std::string kEventRemoteNumbers = "remote_numbers";
const std::string kEventReinit = "reinit";

const std::string kSourceAic = "aic";
const std::string kSourceCore = "core";
const std::string kSourceHcc = "hcc";
const std::string kSourceZman0 = "zman.0";
const std::string kSourceBklyn0 = "bklyn.0";

const std::string kLevelKeyTxL = "txL";
const std::string kLevelKeyTxR = "txR";
const std::string kLevelKeyRxL = "rxL";
const std::string kLevelKeyRxR = "rxR";
const std::string kLevelKeyOu = "ou";
const std::string kLevelKeyIn = "in";

const std::string kRecorderPlay = "play";
const std::string kRecorderPlayPaused = "play_paused";
const std::string kRecorderStopped = "stopped";
const std::string kRecorderError = "error";

const std::string kAlarmPll1 = "alarm_pll1";
const std::string kAlarmPll2 = "alarm_pll2";
const std::string kAlarmClk1 = "alarm_clk1";
const std::string kAlarmClk2 = "alarm_clk2";
const std::string kAlarmSlipClk1 = "alarm_slip_clk1";
const std::string kAlarmSlipClk2 = "alarm_slip_clk2";
const std::string kAlarmDec1 = "alarm_dec1";
const std::string kAlarmDec2 = "alarm_dec2";
const std::string kAlarmFallbackEnc1 = "alarm_fallback_enc1";
const std::string kAlarmFallbackEnc2 = "alarm_fallback_enc2";
const std::string kAlarmFallbackDec1 = "alarm_fallback_dec1";
const std::string kAlarmFallbackDec2 = "alarm_fallback_dec2";
const std::string kAlarmOvl = "alarm_ovl";
const std::string kAlarmTemperature = "alarm_temperature";
const std::string kAlarmVoltage = "alarm_voltage";
const std::string kAlarmAesUnlock = "alarm_aes_unlock";
const std::string kAlarmAesValidity = "alarm_aes_validity";
const std::string kAlarmAesError = "alarm_aes_error";
const std::string kAlarmInternal = "alarm_internal";
const std::string kAlarmExternal = "alarm_external";

const std::string kCodecPcma = "PCMA";
const std::string kCodecPcmu = "PCMU";
const std::string kCodecG711 = "G711";
const std::string kCodecG722 = "G722";
const std::string kCodecG722Srt = "G722-SRT";
const std::string kCodecG722H242 = "G722-H242";
const std::string kCodecG722H221 = "G722-H221";
const std::string kCodec4sb = "4SB";
const std::string kCodecMpa2 = "MPA2";
const std::string kCodecMpa2p = "MPA2P";
const std::string kCodecTdac = "TDAC";
const std::string kCodecTdacG722 = "TDAC_G722";
const std::string kCodecG722Tdac = "G722_TDAC";
const std::string kCodecCelp = "CELP";
const std::string kCodecAacLbr = "AAC-lbr";
const std::string kCodecAacHe = "AAC-he";
const std::string kCodecAacHev2 = "AAC-hev2";
const std::string kCodecGsm = "GSM";
const std::string kCodecPhone = "Phone";
const std::string kCodecOpus = "OPUS";
const std::string kCodecL16 = "L16";
const std::string kCodecL20 = "L20";
const std::string kCodecL24 = "L24";
const std::string kCodecAacLbrLoas = "AAC-lbr-loas";
const std::string kCodecAacHeLoas = "AAC-he-loas";
const std::string kCodecAacHev2Loas = "AAC-hev2-loas";
const std::string kCodecMpa3 = "MPA3";
const std::string kCodecAacLd = "AAC-ld";
const std::string kCodecAacEld = "AAC-eld";

const std::string kChannelModeMono = "mono";
const std::string kChannelModeDmono = "dmono";
const std::string kChannelModeStereo = "stereo";
const std::string kChannelModeJstereo = "jstereo";

const std::string kRate8000 = "8000";
const std::string kRate16000 = "16000";
const std::string kRate24000 = "24000";
const std::string kRate27200 = "27200";
const std::string kRate32000 = "32000";
const std::string kRate48000 = "48000";
const std::string kRate56000 = "56000";
const std::string kRate64000 = "64000";
const std::string kRate96000 = "96000";
const std::string kRate128000 = "128000";
const std::string kRate192000 = "192000";
const std::string kRate256000 = "256000";
const std::string kRate320000 = "320000";
const std::string kRate384000 = "384000";

const std::string kReturnFmtExt = "EXT";

const std::string kCauseLocationUnavailable = "001-location unavailable";
const std::string kCauseNetworkUnreachable = "002-network unreachable";
const std::string kCauseWrongFormat = "003-wrong format";
const std::string kCauseInvalidFile = "004-invalid file";
const std::string kCauseDestinationUnreachable = "005-destination unreachable";
const std::string kCauseFileCorrupted = "006-file corrupted";
const std::string kCauseWrongVersion = "007-wrong version";
const std::string kCauseWrongUnit = "008-wrong unit";
const std::string kCauseSdcardMissing = "009-sdcard missing";
const std::string kCauseSimMissing = "010-sim missing";
const std::string kCauseSimLocked = "011-sim locked";
const std::string kCauseNoGpsFix = "012-no gps fix";
const std::string kCauseNotAttached = "013-not attached";
const std::string kCausePppTimeout = "014-ppp timeout";
const std::string kCauseNotAllowed = "015-not allowed";
const std::string kCauseNoSignal = "016-no signal";
const std::string kCauseSimBusy = "017-sim busy";
const std::string kCausePhSimPin = "018-ph-sim pin";
const std::string kCausePhFsimPin = "019-ph-fsim pin";
const std::string kCausePhFsimPuk = "020-ph-fsim puk";
const std::string kCausePhNetPin = "021-ph-net pin";
const std::string kCausePhNetPuk = "022-ph-net puk";
const std::string kCausePhNetsubPin = "023-ph-netsub pin";
const std::string kCausePhNetsubPuk = "024-ph-netsub puk";
const std::string kCausePhSpPin = "025-ph-sp pin";
const std::string kCausePhSpPuk = "026-ph-sp puk";
const std::string kCausePhCorpPin = "027-ph-corp pin";
const std::string kCausePhCorpPuk = "028-ph-corp puk";
const std::string kCauseWrongPassword = "100-wrong password";
const std::string kCauseParameterNotSet = "101-parameter not set";
const std::string kCauseUnknownParameter = "102-unknown parameter";
const std::string kCauseParameterSetError = "103-parameter set error";
const std::string kCauseMandatoryParameterMissing = "104-mandatory parameter missing";
const std::string kCauseInvalidValue = "105-invalid value";
const std::string kCauseInvalidId = "106-invalid id";
const std::string kCauseNoSpaceLeft = "107-no space left";
const std::string kCauseInvalidConfig = "108-invalid config";
const std::string kCauseNotSupported = "109-not supported";
const std::string kCauseNotAvailable = "110-not available";
const std::string kCauseFilenameAlreadyExists = "111-filename already exists";
const std::string kCauseFileNotFound = "112-file not found";
const std::string kCauseUnknownDestination = "113-unknown destination";
const std::string kCauseUnimplemented = "114-unimplemented";
const std::string kCauseResourceBusy = "115-resource busy";
const std::string kCauseInvalidState = "116-invalid state";
const std::string kCauseTimeout = "117-timeout";
const std::string kCauseResourceUnavailable = "118-resource unavailable";
const std::string kCauseRemoteAddressMissing = "119-remote address missing";
const std::string kCauseNoConnection = "120-no connection";
const std::string kCauseNoIncomingCallPending = "121-no incoming call pending";
const std::string kCausePinRequired = "122-pin required";
const std::string kCauseNotRegistered = "123-not registered";
const std::string kCausePukRequired = "124-puk required";
const std::string kCausePin2Required = "125-pin2 required";
const std::string kCausePuk2Required = "126-puk2 required";
const std::string kCauseConnectionActive = "127-connection active";
const std::string kCauseLoopControlActive = "128-loop control active";
const std::string kCauseMobileDataServiceOff = "129-mobile data service off";
const std::string kCauseMobileDataServiceFailure = "130-mobile data service failure";
const std::string kCauseMobileDataServiceProcessing = "131-mobile data service processing";
const std::string kCauseUsbHostConnected = "132-usb host connected";
const std::string kCauseNotAvailableOn4g = "133-not available on 4G";
const std::string kCauseNoCable = "134-no cable";
const std::string kCauseWifiOff = "135-wifi off";
const std::string kCauseWifiFailure = "136-wifi failure";
const std::string kCauseWifiConnecting = "137-wifi connecting...";
const std::string kCauseAccountNotAccepted = "138-account not accepted";
const std::string kCauseIncompatibleWithSip1 = "139-incompatible with sip1";
const std::string kCauseInconsistantWithSip2 = "140-inconsistant with sip2";
const std::string kCauseSip1NotConfigured = "141-sip1_not configured";
const std::string kCauseUnknownError = "200-unknown error";
const std::string kCauseHardwareError = "201-hardware error";
const std::string kCauseFileSystemError = "202-file system error";
const std::string kCauseOsError = "203-OS error";
const std::string kCauseUnknownCommand = "204-unknown command";

namespace {

constexpr int kCauseTableSize = 204;
constexpr int kUnknownErrorCode = 200;

// Indexed by code - 1; the gaps between the three ranges point at "200-unknown error". Built from
// addresses only, so it is complete before any dynamic initialisation runs.
const std::string *const kCauseTable[kCauseTableSize] = {
    &kCauseLocationUnavailable,
    &kCauseNetworkUnreachable,
    &kCauseWrongFormat,
    &kCauseInvalidFile,
    &kCauseDestinationUnreachable,
    &kCauseFileCorrupted,
    &kCauseWrongVersion,
    &kCauseWrongUnit,
    &kCauseSdcardMissing,
    &kCauseSimMissing,
    &kCauseSimLocked,
    &kCauseNoGpsFix,
    &kCauseNotAttached,
    &kCausePppTimeout,
    &kCauseNotAllowed,
    &kCauseNoSignal,
    &kCauseSimBusy,
    &kCausePhSimPin,
    &kCausePhFsimPin,
    &kCausePhFsimPuk,
    &kCausePhNetPin,
    &kCausePhNetPuk,
    &kCausePhNetsubPin,
    &kCausePhNetsubPuk,
    &kCausePhSpPin,
    &kCausePhSpPuk,
    &kCausePhCorpPin,
    &kCausePhCorpPuk,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseWrongPassword,
    &kCauseParameterNotSet,
    &kCauseUnknownParameter,
    &kCauseParameterSetError,
    &kCauseMandatoryParameterMissing,
    &kCauseInvalidValue,
    &kCauseInvalidId,
    &kCauseNoSpaceLeft,
    &kCauseInvalidConfig,
    &kCauseNotSupported,
    &kCauseNotAvailable,
    &kCauseFilenameAlreadyExists,
    &kCauseFileNotFound,
    &kCauseUnknownDestination,
    &kCauseUnimplemented,
    &kCauseResourceBusy,
    &kCauseInvalidState,
    &kCauseTimeout,
    &kCauseResourceUnavailable,
    &kCauseRemoteAddressMissing,
    &kCauseNoConnection,
    &kCauseNoIncomingCallPending,
    &kCausePinRequired,
    &kCauseNotRegistered,
    &kCausePukRequired,
    &kCausePin2Required,
    &kCausePuk2Required,
    &kCauseConnectionActive,
    &kCauseLoopControlActive,
    &kCauseMobileDataServiceOff,
    &kCauseMobileDataServiceFailure,
    &kCauseMobileDataServiceProcessing,
    &kCauseUsbHostConnected,
    &kCauseNotAvailableOn4g,
    &kCauseNoCable,
    &kCauseWifiOff,
    &kCauseWifiFailure,
    &kCauseWifiConnecting,
    &kCauseAccountNotAccepted,
    &kCauseIncompatibleWithSip1,
    &kCauseInconsistantWithSip2,
    &kCauseSip1NotConfigured,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseUnknownError,
    &kCauseHardwareError,
    &kCauseFileSystemError,
    &kCauseOsError,
    &kCauseUnknownCommand,
};

} // namespace

const std::string &causeText(int code)
{
    if (code < 1 || code > kCauseTableSize)
        return kCauseUnknownError;
    return *kCauseTable[code - 1];
}

int causeCodeFromText(const std::string &text)
{
    // Every cause text starts with its three-digit code, so only the one candidate it names needs
    // comparing; a text that does not start with three digits is no cause.
    if (text.size() < 4 || text[3] != '-')
        return kUnknownErrorCode;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        const char c = text[static_cast<size_t>(i)];
        if (c < '0' || c > '9')
            return kUnknownErrorCode;
        code = code * 10 + (c - '0');
    }
    if (code < 1 || code > kCauseTableSize)
        return kUnknownErrorCode;
    const std::string &candidate = *kCauseTable[code - 1];
    if (&candidate == &kCauseUnknownError || candidate != text)
        return kUnknownErrorCode;
    return code;
}
