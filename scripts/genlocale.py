#!/usr/bin/env python3
"""Writes resources/locale/English.locale, the front panel's key-to-text table.

Each row is "key:text". The keys are the device's own words (parameter names, values, states,
alarm names, error causes and the help texts of its settings), in the order below; the texts are
short English captions. The file is ASCII, lines end with a line feed, and there are no comments.
A key may appear twice; the program shows the first text.

Run from anywhere:  python3 scripts/genlocale.py
"""

import os
import re
import sys

KEYS = """
ll_iface
ll_iface_1
ll_iface_2
interface
log_level
coarse
debug
log_addr
time
type
module
message
hw_addr
link_mode_neg
done
isdn-codec_mode
codec_mode
cmode_normal
cmode_double
double_mono_codec
double_codec
double_stream
stream_pattern
stream_pattern_web
dspattern_1-1
dspattern_1-2
dspattern_2-3
dspattern_1-3
secondary_network
secondary_sip_account
alg
Algorithm
ready
yes
no
accept
decline
usb host detected
select line!
select SIP Account!
138-error display line1
138-error display line2
139-error display line1
139-error display line2
140-error display line1
140-error display line2
141-error display line1
141-error display line2
tools
dir
file
setup
addr-history
auto redial
auto_redial_link1
auto_redial_link2
auto_redial_attempts
auto_redial_time
infinite
loop_control
loop control
backup
ll backup
backup_call
backup_receive
empty list
remote_addr
remote_addr1
1. remote address web
remote_addr2
2. remote address web
remote_addr3
3. remote address web
remote_addr4
4. remote address web
alarm
no alarm
alarm_pll1
alarm_pll2
alarm_clk1
alarm_clk2
alarm_slip_clk1
alarm_slip_clk2
alarm_dec1
alarm_dec2
alarm_fallback_enc1
alarm_fallback_enc2
alarm_fallback_dec1
alarm_fallback_dec2
alarm_ovl
alarm_temperature
alarm_voltage
alarm_aes_unlock
alarm_aes_validity
alarm_aes_error
alarms
relevant
irrelevant
snmp
snmp_mode
snmp_disabled
snmp trap
snmp_ro_community
snmp_rw_community
read_only
read_write
snmp_trap
snmp_trap_receiver
snmp_trap_port
snmp_alarm_mask
codec mode
transmission interface
sip status
connection event
codec setting
codec_advanced
sync_watch
g711_attn
firmware update
boot
general
misc
maintenance
relevant_alarms
status
login
logout
connections
connection state
connection state codec1
connection state codec2
connection statistics codec1
connection statistics codec2
connection statistics stream1
connection statistics stream2
connection_params_codec1
connection_params_codec2
profiles
remote_profile
remote_profile_web
local_profile
local_profile_web
sip_profile
sip_profile_web
snapshot
record
take
newname
messages
network
current network
codec
dcodec
dcodec_1
dcodec_2
algorithm web
audio
program
coord
coord. line
USB program
LINE program
LINE1 program
LINE2 program
program return
coord return
headphone4l
headphone4r
RAV1 program
RAV2 program
release
parameters
new
create
create1
create2
cancel
load
load1
load2
call
delete
erase
edit
play
rename
import
export
import from SD card
export to SD card
import in progress...
import failed
import finished
import soundid
soundid_label
soundid_active
soundid_disabled
name
record name
record noname
delete rec
rename rec
dl rec
confirm
playback
stop recording ?
(recording will stop)
(playback will stop)
file management
current
no change
no number 1
no number 2
no config
reset
general reset
reset call history
reset algo history
reset snapshots
reset sip profiles
reset profiles
reset presets
reset records
reset settings
reset sipaccount
settings
factory reset
brightness
brightness-very-low
brightness-low
brightness-middle
brightness-high
brightness-very-high
contrast
contrast-plus-2
contrast-plus-1
contrast-0
contrast-minus-1
contrast-minus-2
display_dimming
very_bad
bad
low
middle
high
very_high
language
remote access
remote assistance
data remote access
data remote assistance
allow_remote_access
allow_remote_assistance
remote_access
remote_access_network
remote_access_server
remote_access_pwd
remote_access_status
remote_assistance_status
remote_access_status_web
remote_assistance_status_web
serialno
codec_id
ftp parameter
ftp_address
ftp_username
ftp_password
user settings
keyboard lock
ntp_addr
ntp_addr_custom
on
off
none
loop
loop-none
loop-audio
loop2-network
loop3
loop-audio_feedback
aux functions
data_channel
data_channel_baud
relay
relays_in
relays_out
relay status
sms_indication
sms_local
sms_remote
gpi allocation
digi_in1_isolated
digi_in2_isolated
digi_in1
digi_in2
digi_in3
digi_in4
digi_in5
digi_in6
digi_in7
digi_in8
relay_transmission
call_gpi_profile1
call_gpi_profile2
call_gpi_profile3
call_gpi_profile4
call_gpi_profile5
call_gpi_profile6
call_gpi_profile7
call_gpi_profile8
gpio
gpio extension
external relay
external input
ext inputs
ext_input1
ext_input2
ext_input3
ext_input4
ext_input5
ext_input6
input_event_none
input_event_r1
input_event_r2
input_event_r3
input_event_r4
input_event_r5
input_event_r6
input_event_redial
input_event_release
input_event_redrel
input_event_redial2
input_event_release2
input_event_redrel2
input_event_progsoff
input_event_coord1on
input_event_coord2on
input_event_coord3on
input_event_coord4on
ext outputs
ext_relay1
ext_relay2
ext_relay3
ext_relay4
ext_relay5
ext_relay6
relay_state_none
relay_state_r1
relay_state_r2
relay_state_r3
relay_state_r4
relay_state_r5
relay_state_r6
relay_state_line
relay_state_sync
relay_state_line2
relay_state_sync2
relay_state_onair
contact_label1
contact_label2
info_label1
info_label2
info box
remaining
about
local_addr
public_addr
sip_state
sip_state2
unregistered
registered
registration not enabled
unknown
version
builddate
eim_version
aoip_version
battery_level
no_battery
restricted_access
reduced access
full access
set password first
reduce access
enter password
confirmation error
new password saved
enter new password
confirm password
password changed
password error
password mismatch
old password wrong
for full access (short text)
for full access (long text)
headroom
tabname
routing_mono
rm_pgm_coord
rm_pgm_coord_dyn
rm_pgm_intsound
rm_pgm_standard
rm_pgm_main_backup
output
lineout
output_level
coord_line
coordination line
headphone1
headphone2
hp_program
hp_intsound
hp_pgm_intsound
hp_coord
hp_pgm_coord
hp_main
hp_backup
hp_auto
input
input_gain
input_gain_mic
input_gain_line
gain
input_gain_usb
input_gain_aux1
input_gain_aux2
input_gain_aes1
input_gain_aes2
input_gain_ravenna1
input_gain_ravenna2
master gain
phantom_power
phantom
mic_line
mic
line
hp_filter
input limiters
limiter_threshold
input1_power
input1_gain
input1_filter
input1_limiter
input1_init
input1_mode
input2_power
input2_gain
input2_filter
input2_limiter
input2_init
input2_mode
input3_power
input3_gain
input3_filter
input3_limiter
input3_init
input3_mode
autosave
input3_pad
input4_power
input4_gain
input4_filter
input4_limiter
mono
dmono
stereo
jstereo
coordchan
mode
input_left
input_right
input_center
input_program
input_intsound
input_pgm_intsound
input_coord
input_pgm_coord
input_main_backup
input 1 settings
input 2 settings
input 3 settings
input 4 settings
input1
input2
input3
input4
usb settings
aux settings
aux1 setting
aes settings
aes aux2 settings
format
ravenna settings
microphone_settings
record_mode
coding algorithm
coding algorithm tx
coding algorithm tx web
coding algorithm rx
coding algorithm rx web
samplerate
channel mode
bitrate
errorc
secured mode
CELP
G711
PCMU
PCMA
G722
G722-SRT
G722-H221
G722-H242
TDAC
TDAC_G722
G722_TDAC
MPA2
MPA2P
MPA3
4SB
AAC-lbr
AAC-he
AAC-hev2
AAC-lbr-loas
AAC-he-loas
AAC-hev2-loas
AAC-ld
AAC-eld
GSM
default_network
isdn parameter
isdn setting
isdn.0 parameter
ethernet
ethernet parameter
ethernet setting
eth.0 parameter
eth.1 parameter
eth.2 parameter
eth.3 parameter
eth.4 parameter
pots parameter
pots.0 parameter
ll parameter
ll.0 parameter
aoip parameter
aoip setting
mobile parameter
mobile setting
mobile.0 parameter
mobile.1 parameter
mobile.2 parameter
mobile.3 parameter
mobile.4 parameter
wifi parameter
wifi.0 parameter
wifi.1 parameter
wifi setting
wifi.0 setting
wifi.1 setting
network_quality
network_quality_tx
network_quality_rx
rx-quality-report
tx-quality-report
codec1_rx-quality-report
codec1_tx-quality-report
codec2_rx-quality-report
codec2_tx-quality-report
codec1_rx-quality-report_stream1
codec1_tx-quality-report_stream1
codec2_rx-quality-report_stream1
codec2_tx-quality-report_stream1
rx-quality-report_stream1
tx-quality-report_stream1
rx-quality-report_stream2
tx-quality-report_stream2
net-quality
transmit
receive
quality
duration
bytes-total
jtr-avg
jtr-max
jtr-min
jitter-avg
jitter-max
pkts-discarded
pkts-duplicated
pkts-lost
pkts-reorderd
pkts-total
jb-curr
bgan_detection
opus_bitrate_change
codec1_opus_bitrate_change
codec2_opus_bitrate_change
dhcp
manual
bgan
pppoe
manufacturer
model
sw version
hw version
revision
firmware
imei
imsi
msisdn
echo_cancel
noise_gate
sidetone_gain
diversity
diversity_none
diversity_connected
bgan_username
bgan_password
max_rate
bgan_gps
bgan_att
not_attached
attached
acquiring
undetermined
no cable
pppoe_username
pppoe_password
pppoe_service
ssid
ssid_custom
passphrase
security
stun_mode
stun_server
stun_nat_type
nat-open
nat-blocked
nat-symmetric-udp
nat-full-cone
nat-symmetric
nat-restricted
nat-port-restricted
SIP_STUN_TO
sip_mode
sip_acc_calls
sip_chk_calls
sip_def_account
sip_sess_timers
sip_user
sip_display_name
sip_registrar
sip_auth_user
sip_password
sip_user2
sip_display_name2
sip_registrar2
sip_auth_user2
sip_password2
sip_use_uport2
sip_proxy
SIP_REGIS_TO
SIP_RE_REG_TO
SIP_KA_INTERVAL
server preset
SIP_UDP_PORT
SIP_UDP_PORT2
RTP_START_PORT
RTP_START_PORT_WEB
RTP_START_PORT_2_WEB
drtp
drtp_rtp_port
drtp_rtp_port_web
drtp_acc_calls
drtp_acc_calls_web
drtp_send_only
drtp_send_only_web
drtp_rel_timeout
drtp_rel_timeout_web
rtp_qos
accept direct rtp on port
incoming direct rtp not accepted
MP_ECM_BF_SHIFT
0_none
1_simple_mode
2_interleaved
rtp_tos
aoip_mode
audio_mode
sip
multicast
mc_mode
mc_sender
mc_receiver
mc_cport
mc_aport
mc_ttl
apply settings...
apply
OK
pin
pin ready
pin_persistent
data
umts_cs
gsm_voice
data connection
bgan connection
pppoe connection
link_mode
autonegotiation
100baseT-FD
100baseT-HD
10baseT-FD
10baseT-HD
connect
disconnect
rat
only GSM
only UMTS
only GSM UMTS
only LTE
only LTE 5G
only 5G
GSM first
UMTS first
plmn
access point
apn
data_connection
data_connection_state
username
password
authentication
server
old password
new password
cs settings
bearer
multimedia
transparent
network status
operator_long
operator_short
not registered
technology
signal_quality_dbm
balance_none
balance_third
balance_unity
dialing_method
tone
pulse
dial_tone_detection
detect
ignore
speaker
country_code
argentina
australia
austria
belgium
brazil
canada
chile
china
colombia
cyprus
czech_republic
denmark
egypt
finland
france
germany
greece
hongkong
hungary
india
indonesia
ireland
israel
italy
japan
kuwait
lebanon
luxembourg
malaysia
mexico
morocco
netherlands
norway
pakistan
poland
portugal
romania
saudi_arabia
senegal
singapore
south_africa
spain
sri_lanka
sweden
switzerland
tunisia
turkey
united_kingdom
united_states
max_speed
speed
auto
fixed
output settings
audio output
audio input
audio_inout
audio_iofmt
input_level
output_level
line_input_settings
line_output_settings
line_output_level
max_output_level
max_output1_level
max_output2_level
line_output_source
line_source_receive
line_source_transmit
line_source_balance
input_impedance
input_source
aes_samplerate
aes_synchro
dec_mute_left
dec_mute_right
600ohm
analog
digital
ravenna
master
genlock
output_mute
output_receive
output_mix
output_send
other
network config
ip-address
subnet
gateway
dns1
dns2
hardware
pppoe username
pppoe password
pppoe service name
bgan username
bgan password
bgan apn
5as
protocol
isdn_udss1
isdn_ni2
isdn_ntt
addr_sb0_ch0
addr_sb0_ch1
addr_sb1_ch0
addr_sb1_ch1
local numbers
subaddr_sb0_ch0
subaddr_sb0_ch1
subaddr_sb1_ch0
subaddr_sb1_ch1
spid
aoip
isdn
pots
ll
isdn.0
pots.0
ll.0
eth.aux
eth.0
eth.1
eth.2
mobile.0
mobile.pri
mobile.sec
mobile.1
mobile.2
mobile.3
mobile.4
wifi.0
wifi.1
wifi.2
wifi.3
wifi0
wifi1
event log
setup transfer
export config
import config
take name
save take ?
send
refresh
refresh all
hold
continue
save
write
bank
deselect
save logfile as
download mib
reboot
dial
idle
direct dial
incoming call
connecting
connection failed
connection released
negotiating
waiting for sync
ringing
sync lost
connection established
connection in progress
established
release connection?
disconnecting
connected
disconnected
remote disconnect
call sent
bgan_detected
bgan_state
bgan connected
data connected
pppoe connected
wifi connected
bgan disconnected
data disconnected
pppoe disconnected
wifi disconnected
error
failed
released
save configuration
please wait
cause
normal
layer1
layer2
layer3
busy
rejected
badaddress
routing
no response
not taken
unspecified
redirected
resources
auth
timeout
too slow
destination has problems
not compatible
message coding
no dialtone
no carrier
caution
5as unsupported config
performing reset
reset done
restart required
system update
update
start update?
update starting
validate file
stop applications
install system
install applications
finish update
update failed
update finished
rebooting
rebooting_web
remote access disabled
active
disabled
failure
processing
unlocked
locking
locked
wifi active
wifi failure
wifi connecting...
data link
again_stop_upload
ok
transmitting
addr collision
not enough dec
waiting
receiving no sync
receiving
receiving sync err
receiving warning
unknown status
not defined
initializing
faulty
listening
pre master
passive
not calibrated
slave
unknown state
codec-boards
aes67-boards
aes67_board1
aes67_board2
board_state
board_active
board_standby
board_detected
power_supply1
power_supply2
power_detected
power_notdetected
rav_link_state
rav_sync_state
rav_ptp_state
rav_status_form
rav_info_form
rav_eth_form
rav_config_form
rav_netmode_form
rav_sample_rate
rav_resolution
rav_ptp_domain
rav_netmode
rav_netmode_switch
rav_netmode_redund
abr_config_form
abr_config
abr_calls
abr_profile
abr_minbr
abr_maxbr
jitterab
ajb_config_form
ajb_calls
ajb_profile
safe
standard
punchy
protocol_gateway
protocol_snmp
protocol_klem
001-location unavailable
002-network unreachable
003-wrong format
004-invalid file
005-destination unreachable
006-file corrupted
007-wrong version
008-wrong unit
009-sdcard missing
010-sim missing
011-sim locked
012-no gps fix
013-not attached
014-ppp timeout
015-not allowed
016-no signal
017-sim busy
018-ph-sim pin
019-ph-fsim pin
020-ph-fsim puk
021-ph-net pin
022-ph-net puk
023-ph-netsub pin
024-ph-netsub puk
025-ph-sp pin
026-ph-sp puk
027-ph-corp pin
028-ph-corp puk
100-wrong password
101-parameter not set
102-unknown parameter
103-parameter set error
104-mandatory parameter missing
105-invalid value
106-invalid id
107-no space left
108-invalid config
109-not supported
110-not available
111-filename already exists
112-file not found
113-unknown destination
114-unimplemented
115-resource busy
116-invalid state
117-timeout
118-resource unavailable
119-remote address missing
120-no connection
121-no incoming call pending
122-pin required
123-not registered
124-puk required
125-pin2 required
126-puk2 required
127-connection active
128-loop control active
129-mobile data service off
130-mobile data service failure
131-mobile data service processing
132-usb host connected
133-not available on 4G
134-no cable
135-wifi off
136-wifi failure
137-wifi connecting...
138-account not accepted
139-incompatible with sip1
140-inconsistant with sip2
141-sip1_not configured
200-unknown error
201-hardware error
202-file system error
203-OS error
204-unknown command
http_system_update_text
http_system_update_warning
http_error_404
http_confirmPw
http_confirmPw_redir
http_confirmPw_invalid
http_confirmPw_error
http_alreadyLogged
http_loggedOut
http_help_stun_mode
http_help_stun_server
http_help_sip_mode
http_help_keepalive
http_help_aux
http_help_aux_dcodec
http_help_codec_advanced
http_help_sms
http_help_ext_relay
http_help_gpi_allocation
http_help_gpio
http_help_gpio_extension
http_help_rp
http_help_directdial
http_help_infobox
http_help_bgan
http_help_bgd
http_help_protocol
http_help_localnr
http_help_spid
http_help_5as
http_help_mobileData
http_help_mobileVoice
http_help_preferredTech
http_help_diversity
http_help_diversity2
http_help_defnet
http_help_secondary_network
http_help_dtt
http_help_speed
http_help_playback
http_help_recordlist
http_help_reset
http_help_reboot
http_help_export
http_help_import
http_help_loopAudio
http_help_loop3
http_help_loop2net
http_help_loopFeedback
http_help_password
http_help_ftp
http_no_jplayer
http_help_local_profiles
http_help_remote_profiles
http_help_sip_profiles
http_help_profiles_transfer
http_help_profiles_transfer_sf
http_help_manage_profiles
http_help_ntp
http_help_ll_if
http_help_packet_replication
http_help_alarms
http_help_alarms_vantel
http_help_sip_rtp_label
http_help_sip_rtp_ports
http_help_rtp_tos
http_help_network_quality
http_help_mobile_network_quality
http_help_wifi_network_quality
http_help_remoteAccess
http_help_remoteAccessInfo
http_help_remoteAccessPwd
http_help_snmp
http_help_snmp_info
http_help_snmp_community
http_help_snmp_trap_receiver
http_help_snmp_mask_alarm
http_help_rav_eth
http_help_abr_profile
http_help_ajb_profile
http_help_protocol_gateway
http_help_protocol_klem
http_help_protocol_reboot
http_help_sip_sess_timers
""".strip("\n").split("\n")

# Words written in a fixed form wherever they appear in a generated caption.
WORDS = {
    "aes": "AES", "aes67": "AES67", "aoip": "AoIP", "apn": "APN", "att": "Attach", "aux": "Aux",
    "aux1": "Aux 1", "aux2": "Aux 2", "bgan": "BGAN", "br": "Bit Rate", "clk": "Clock",
    "codec1": "Codec 1", "codec2": "Codec 2", "coord": "Coord.", "dbm": "(dBm)", "dec": "Decoder",
    "dhcp": "DHCP", "dns": "DNS", "dns1": "DNS 1", "dns2": "DNS 2", "drtp": "Direct RTP",
    "enc": "Encoder", "eth": "Ethernet", "ftp": "FTP", "gpi": "GPI", "gpio": "GPIO", "gps": "GPS",
    "gsm": "GSM", "hp": "Headphone", "hw": "Hardware", "id": "ID", "imei": "IMEI", "imsi": "IMSI",
    "ip": "IP", "isdn": "ISDN", "ka": "Keep-Alive", "lte": "LTE", "mc": "Multicast",
    "msisdn": "MSISDN", "nat": "NAT", "ntp": "NTP", "pgm": "Program", "pin": "PIN", "pll": "PLL",
    "pll1": "PLL 1", "pll2": "PLL 2", "pots": "POTS", "pppoe": "PPPoE", "ptp": "PTP",
    "puk": "PUK", "pwd": "Password", "qos": "QoS", "rav": "RAVENNA", "ravenna": "RAVENNA",
    "ravenna1": "RAVENNA 1", "ravenna2": "RAVENNA 2", "rtp": "RTP", "rx": "Rx", "sd": "SD",
    "sim": "SIM", "sip": "SIP", "sms": "SMS", "snmp": "SNMP", "ssid": "SSID", "stun": "STUN",
    "sw": "Software", "tos": "ToS", "ttl": "TTL", "tx": "Tx", "udp": "UDP", "umts": "UMTS",
    "usb": "USB", "wifi": "Wi-Fi", "ro": "Read-Only", "rw": "Read-Write", "to": "Timeout",
    "ovl": "Overload", "addr": "Address", "rel": "Release", "acc": "Accept", "chk": "Check",
    "def": "Default", "sess": "Session", "uport2": "User Port 2", "regis": "Registration",
    "re": "Re-", "reg": "Registration", "cport": "Control Port", "aport": "Audio Port",
    "5g": "5G", "4g": "4G", "on": "On", "off": "Off",
    "web": "", "minbr": "Minimum Bit Rate", "maxbr": "Maximum Bit Rate", "abr": "Auto Bit Rate",
    "ajb": "Adaptive Jitter Buffer", "netmode": "Network Mode", "redund": "Redundant",
    "eim": "EIM", "mib": "MIB", "avg": "Average", "max": "Maximum", "min": "Minimum",
    "jtr": "Jitter", "pkts": "Packets", "jb": "Jitter Buffer", "curr": "Current",
    "reorderd": "Reordered", "sb0": "S0 Bus 1", "sb1": "S0 Bus 2", "ch0": "Channel 1",
    "ch1": "Channel 2", "subaddr": "Subaddress", "iofmt": "I/O Format", "inout": "In/Out",
    "dmono": "Dual Mono", "jstereo": "Joint Stereo", "intsound": "Int. Sound", "cmode": "Mode",
}

# Captions that the rules above would not get right, and the words the panel quotes exactly.
TEXTS = {
    "ll_iface": "Leased Line Interface", "ll_iface_1": "Leased Line Interface 1",
    "ll_iface_2": "Leased Line Interface 2", "log_addr": "Log Server Address",
    "hw_addr": "MAC Address", "link_mode_neg": "Negotiated Link Mode",
    "isdn-codec_mode": "ISDN Codec Mode", "codec_mode": "Codec Mode",
    "cmode_normal": "Normal", "cmode_double": "Double Codec", "double_mono_codec": "Double Mono Codec",
    "stream_pattern_web": "Stream Pattern", "dspattern_1-1": "1 + 1", "dspattern_1-2": "1 + 2",
    "dspattern_2-3": "2 + 3", "dspattern_1-3": "1 + 3", "alg": "Algorithm",
    "usb host detected": "USB host detected", "select line!": "Select a line!",
    "select SIP Account!": "Select a SIP account!",
    "138-error display line1": "Factory SIP", "138-error display line2": " account not usable",
    "139-error display line1": "Possibly not", "139-error display line2": "compatible with SIP 1",
    "140-error display line1": "Possibly not", "140-error display line2": "consistent with SIP 2",
    "141-error display line1": "SIP 1", "141-error display line2": "not configured",
    "dir": "Directory", "addr-history": "Address History", "auto redial": "Auto Redial",
    "auto_redial_link1": "Auto Redial Link 1", "auto_redial_link2": "Auto Redial Link 2",
    "auto_redial_attempts": "Redial Attempts", "auto_redial_time": "Redial Interval",
    "ll backup": "Leased Line Backup", "backup_call": "Backup Call",
    "backup_receive": "Backup Receive", "remote_addr": "Remote Address",
    "remote_addr1": "Remote Address 1", "1. remote address web": "1. Remote Address",
    "remote_addr2": "Remote Address 2", "2. remote address web": "2. Remote Address",
    "remote_addr3": "Remote Address 3", "3. remote address web": "3. Remote Address",
    "remote_addr4": "Remote Address 4", "4. remote address web": "4. Remote Address",
    "alarm_slip_clk1": "Clock Slip 1", "alarm_slip_clk2": "Clock Slip 2",
    "alarm_fallback_enc1": "Encoder 1 Fallback", "alarm_fallback_enc2": "Encoder 2 Fallback",
    "alarm_fallback_dec1": "Decoder 1 Fallback", "alarm_fallback_dec2": "Decoder 2 Fallback",
    "alarm_aes_unlock": "AES Unlocked", "alarm_aes_validity": "AES Validity",
    "alarm_aes_error": "AES Error", "snmp_disabled": "Disabled", "snmp trap": "SNMP Trap",
    "snmp_ro_community": "Read-Only Community", "snmp_rw_community": "Read-Write Community",
    "snmp_trap_receiver": "Trap Receiver", "snmp_trap_port": "Trap Port",
    "snmp_alarm_mask": "Alarm Mask", "codec_advanced": "Advanced Codec Settings",
    "sync_watch": "Sync Watch", "g711_attn": "G.711 Attenuation", "misc": "Miscellaneous",
    "connection_params_codec1": "Connection Parameters Codec 1",
    "connection_params_codec2": "Connection Parameters Codec 2",
    "remote_profile_web": "Remote Profiles", "local_profile_web": "Local Profiles",
    "sip_profile_web": "SIP Profiles", "newname": "New Name", "dcodec": "Double Codec",
    "dcodec_1": "Double Codec 1", "dcodec_2": "Double Codec 2", "algorithm web": "Algorithm",
    "coord. line": "Coord. Line", "USB program": "USB Program", "LINE program": "Line Program",
    "LINE1 program": "Line 1 Program", "LINE2 program": "Line 2 Program",
    "headphone4l": "Headphone 4 Left", "headphone4r": "Headphone 4 Right",
    "RAV1 program": "RAVENNA 1 Program", "RAV2 program": "RAVENNA 2 Program",
    "create1": "Create on Link 1", "create2": "Create on Link 2", "load1": "Load on Link 1",
    "load2": "Load on Link 2", "import from SD card": "Import from SD Card",
    "export to SD card": "Export to SD Card", "import in progress...": "Import in progress...",
    "import soundid": "Import Sound ID", "soundid_label": "Sound ID",
    "soundid_active": "Sound ID Active", "soundid_disabled": "Sound ID Disabled",
    "record noname": "Unnamed Record", "delete rec": "Delete Record",
    "rename rec": "Rename Record", "dl rec": "Download Record", "stop recording ?": "Stop recording?",
    "(recording will stop)": "(recording will stop)", "(playback will stop)": "(playback will stop)",
    "no number 1": "No Number 1", "no number 2": "No Number 2", "no config": "No Configuration",
    "reset algo history": "Reset Algorithm History", "reset sip profiles": "Reset SIP Profiles",
    "reset sipaccount": "Reset SIP Account", "brightness-very-low": "Very Low",
    "brightness-low": "Low", "brightness-middle": "Middle", "brightness-high": "High",
    "brightness-very-high": "Very High", "contrast-plus-2": "+2", "contrast-plus-1": "+1",
    "contrast-0": "0", "contrast-minus-1": "-1", "contrast-minus-2": "-2",
    "display_dimming": "Display Dimming", "very_bad": "Very Bad", "very_high": "Very High",
    "remote_access_network": "Remote Access Network", "remote_access_pwd": "Remote Access Password",
    "remote_access_status_web": "Remote Access Status",
    "remote_assistance_status_web": "Remote Assistance Status", "serialno": "Serial Number",
    "codec_id": "Codec ID", "ftp parameter": "FTP Parameters", "ntp_addr": "NTP Server",
    "ntp_addr_custom": "Custom NTP Server", "loop-none": "No Loop", "loop-audio": "Audio Loop",
    "loop2-network": "Network Loop", "loop3": "Local Loop", "loop-audio_feedback": "Audio Feedback Loop",
    "data_channel": "Data Channel", "data_channel_baud": "Data Channel Baud Rate",
    "relays_in": "Relay Inputs", "relays_out": "Relay Outputs", "sms_indication": "SMS Indication",
    "sms_local": "Local SMS", "sms_remote": "Remote SMS", "gpi allocation": "GPI Allocation",
    "relay_transmission": "Relay Transmission", "gpio extension": "GPIO Extension",
    "ext inputs": "External Inputs", "ext outputs": "External Outputs",
    "input_event_none": "None", "input_event_redial": "Redial Link 1",
    "input_event_release": "Release Link 1", "input_event_redrel": "Redial/Release Link 1",
    "input_event_redial2": "Redial Link 2", "input_event_release2": "Release Link 2",
    "input_event_redrel2": "Redial/Release Link 2", "input_event_progsoff": "Program Sends Off",
    "relay_state_none": "None", "relay_state_line": "Line 1 Active",
    "relay_state_sync": "Line 1 Synchronised", "relay_state_line2": "Line 2 Active",
    "relay_state_sync2": "Line 2 Synchronised", "relay_state_onair": "On Air",
    "contact_label1": "Contact 1", "contact_label2": "Contact 2", "info_label1": "Info 1",
    "info_label2": "Info 2", "local_addr": "Local Address", "public_addr": "Public Address",
    "sip_state": "SIP State", "sip_state2": "SIP State 2", "builddate": "Build Date",
    "eim_version": "EIM Version", "aoip_version": "AoIP Version", "no_battery": "No Battery",
    "restricted_access": "Restricted Access", "set password first": "Set a password first",
    "for full access (short text)": "for full access",
    "for full access (long text)": "Enter the password for full access",
    "tabname": "Table Name", "routing_mono": "Mono Routing",
    "rm_pgm_coord": "Program + Coord.", "rm_pgm_coord_dyn": "Program + Coord. (dynamic)",
    "rm_pgm_intsound": "Program + Int. Sound", "rm_pgm_standard": "Program (standard)",
    "rm_pgm_main_backup": "Program Main/Backup", "lineout": "Line Out",
    "coord_line": "Coord. Line", "hp_pgm_intsound": "Program + Int. Sound",
    "hp_pgm_coord": "Program + Coord.", "hp_main": "Main", "hp_backup": "Backup", "hp_auto": "Auto",
    "hp_program": "Program", "hp_intsound": "Int. Sound", "hp_coord": "Coord.",
    "input_gain_mic": "Mic Gain", "input_gain_line": "Line Gain", "mic_line": "Mic/Line",
    "hp_filter": "High-Pass Filter", "input1_init": "Input 1 Default", "input2_init": "Input 2 Default",
    "input3_init": "Input 3 Default", "input3_pad": "Input 3 Pad", "coordchan": "Coord. Channel",
    "input_pgm_intsound": "Program + Int. Sound", "input_pgm_coord": "Program + Coord.",
    "input_main_backup": "Main/Backup", "aux1 setting": "Aux 1 Settings",
    "aes aux2 settings": "AES/Aux 2 Settings", "microphone_settings": "Microphone Settings",
    "coding algorithm tx web": "Coding Algorithm Tx", "coding algorithm rx web": "Coding Algorithm Rx",
    "samplerate": "Sample Rate", "bitrate": "Bit Rate", "errorc": "Error Correction",
    "CELP": "CELP", "G711": "G.711", "PCMU": "G.711 u-Law", "PCMA": "G.711 A-Law", "G722": "G.722",
    "G722-SRT": "G.722 SRT", "G722-H221": "G.722 H.221", "G722-H242": "G.722 H.242", "TDAC": "TDAC",
    "TDAC_G722": "TDAC G.722", "G722_TDAC": "G.722 TDAC", "MPA2": "MPEG L2", "MPA2P": "MPEG L2 J.52",
    "MPA3": "MPEG L3", "4SB": "4SB ADPCM", "AAC-lbr": "AAC LC", "AAC-he": "AAC HE",
    "AAC-hev2": "AAC HEv2", "AAC-lbr-loas": "AAC LC LOAS", "AAC-he-loas": "AAC HE LOAS",
    "AAC-hev2-loas": "AAC HEv2 LOAS", "AAC-ld": "AAC LD", "AAC-eld": "AAC ELD", "GSM": "GSM",
    "isdn.0 parameter": "ISDN Parameters", "eth.0 parameter": "Ethernet Parameters",
    "eth.1 parameter": "Ethernet (aux) Parameters", "eth.2 parameter": "Ethernet (ext 1) Parameters",
    "eth.3 parameter": "Ethernet (ext 2) Parameters", "eth.4 parameter": "Ethernet (ext 3) Parameters",
    "pots.0 parameter": "POTS Parameters", "ll parameter": "Leased Line Parameters",
    "ll.0 parameter": "Leased Line Parameters", "mobile.0 parameter": "Mobile Parameters",
    "mobile.1 parameter": "Mobile (ext 1) Parameters", "mobile.2 parameter": "Mobile (ext 2) Parameters",
    "mobile.3 parameter": "Mobile (ext 3) Parameters", "mobile.4 parameter": "Mobile (ext 4) Parameters",
    "wifi.0 parameter": "Wi-Fi (ext 1) Parameters", "wifi.1 parameter": "Wi-Fi (ext 2) Parameters",
    "wifi.0 setting": "Wi-Fi (ext 1) Settings", "wifi.1 setting": "Wi-Fi (ext 2) Settings",
    "rx-quality-report": "Receive Quality", "tx-quality-report": "Transmit Quality",
    "codec1_rx-quality-report": "Codec 1 Receive Quality",
    "codec1_tx-quality-report": "Codec 1 Transmit Quality",
    "codec2_rx-quality-report": "Codec 2 Receive Quality",
    "codec2_tx-quality-report": "Codec 2 Transmit Quality",
    "codec1_rx-quality-report_stream1": "Codec 1 Receive Quality Stream 1",
    "codec1_tx-quality-report_stream1": "Codec 1 Transmit Quality Stream 1",
    "codec2_rx-quality-report_stream1": "Codec 2 Receive Quality Stream 1",
    "codec2_tx-quality-report_stream1": "Codec 2 Transmit Quality Stream 1",
    "rx-quality-report_stream1": "Receive Quality Stream 1",
    "tx-quality-report_stream1": "Transmit Quality Stream 1",
    "rx-quality-report_stream2": "Receive Quality Stream 2",
    "tx-quality-report_stream2": "Transmit Quality Stream 2", "net-quality": "Network Quality",
    "bytes-total": "Total Bytes", "jb-curr": "Current Buffer", "bgan_detection": "BGAN Detection",
    "opus_bitrate_change": "Opus Bit Rate Change",
    "codec1_opus_bitrate_change": "Codec 1 Opus Bit Rate Change",
    "codec2_opus_bitrate_change": "Codec 2 Opus Bit Rate Change", "sw version": "Software Version",
    "hw version": "Hardware Version", "echo_cancel": "Echo Cancellation",
    "sidetone_gain": "Side Tone Gain", "diversity_none": "No Diversity",
    "diversity_connected": "Diversity Connected", "max_rate": "Maximum Rate",
    "bgan_gps": "BGAN GPS", "bgan_att": "BGAN Attach", "not_attached": "Not Attached",
    "ssid_custom": "Custom SSID", "stun_nat_type": "NAT Type", "nat-open": "Open",
    "nat-blocked": "Blocked", "nat-symmetric-udp": "Symmetric UDP Firewall",
    "nat-full-cone": "Full Cone", "nat-symmetric": "Symmetric", "nat-restricted": "Restricted",
    "nat-port-restricted": "Port Restricted", "SIP_STUN_TO": "STUN Timeout",
    "sip_acc_calls": "Accept Calls", "sip_chk_calls": "Check Calls",
    "sip_def_account": "Default Account", "sip_sess_timers": "Session Timers",
    "sip_user": "User", "sip_display_name": "Display Name", "sip_registrar": "Registrar",
    "sip_auth_user": "Authentication User", "sip_password": "Password", "sip_user2": "User 2",
    "sip_display_name2": "Display Name 2", "sip_registrar2": "Registrar 2",
    "sip_auth_user2": "Authentication User 2", "sip_password2": "Password 2",
    "sip_use_uport2": "Use Second UDP Port", "sip_proxy": "Proxy",
    "SIP_REGIS_TO": "Registration Timeout", "SIP_RE_REG_TO": "Re-Registration Interval",
    "SIP_KA_INTERVAL": "Keep-Alive Interval", "SIP_UDP_PORT": "SIP UDP Port",
    "SIP_UDP_PORT2": "SIP UDP Port 2", "RTP_START_PORT": "RTP Start Port",
    "RTP_START_PORT_WEB": "RTP Start Port", "RTP_START_PORT_2_WEB": "RTP Start Port 2",
    "drtp_rtp_port": "Direct RTP Port", "drtp_rtp_port_web": "Direct RTP Port",
    "drtp_acc_calls": "Accept Direct RTP", "drtp_acc_calls_web": "Accept Direct RTP",
    "drtp_send_only": "Direct RTP Send Only", "drtp_send_only_web": "Direct RTP Send Only",
    "drtp_rel_timeout": "Direct RTP Release Timeout",
    "drtp_rel_timeout_web": "Direct RTP Release Timeout", "rtp_qos": "RTP QoS",
    "accept direct rtp on port": "Accept direct RTP on port",
    "incoming direct rtp not accepted": "Incoming direct RTP not accepted",
    "MP_ECM_BF_SHIFT": "Error Concealment", "0_none": "None", "1_simple_mode": "Simple Mode",
    "2_interleaved": "Interleaved", "rtp_tos": "RTP ToS", "mc_cport": "Multicast Control Port",
    "mc_aport": "Multicast Audio Port", "mc_ttl": "Multicast TTL", "OK": "OK",
    "pin_persistent": "Remember PIN", "umts_cs": "UMTS Voice", "gsm_voice": "GSM Voice",
    "100baseT-FD": "100 Mbit/s Full Duplex", "100baseT-HD": "100 Mbit/s Half Duplex",
    "10baseT-FD": "10 Mbit/s Full Duplex", "10baseT-HD": "10 Mbit/s Half Duplex",
    "rat": "Radio Access Technology", "only GSM": "GSM only", "only UMTS": "UMTS only",
    "only GSM UMTS": "GSM and UMTS only", "only LTE": "LTE only", "only LTE 5G": "LTE and 5G only",
    "only 5G": "5G only", "GSM first": "GSM preferred", "UMTS first": "UMTS preferred",
    "plmn": "Operator Code", "cs settings": "Voice Settings", "operator_long": "Operator",
    "operator_short": "Operator (short)", "signal_quality_dbm": "Signal Quality (dBm)",
    "balance_none": "No Balance", "balance_third": "One Third", "balance_unity": "Unity",
    "dial_tone_detection": "Dial Tone Detection", "hongkong": "Hong Kong",
    "country_code": "Country", "audio_inout": "Audio In/Out", "audio_iofmt": "Audio I/O Format",
    "max_output1_level": "Maximum Output 1 Level", "max_output2_level": "Maximum Output 2 Level",
    "line_source_receive": "Receive", "line_source_transmit": "Transmit",
    "line_source_balance": "Balance", "aes_samplerate": "AES Sample Rate",
    "aes_synchro": "AES Synchronisation", "dec_mute_left": "Mute Decoder Left",
    "dec_mute_right": "Mute Decoder Right", "600ohm": "600 Ohm", "output_mute": "Mute",
    "output_receive": "Receive", "output_mix": "Mix", "output_send": "Send",
    "ip-address": "IP Address", "subnet": "Subnet Mask", "bgan apn": "BGAN APN",
    "5as": "5AS", "isdn_udss1": "Euro ISDN (DSS1)", "isdn_ni2": "National ISDN 2 (NI-2)",
    "isdn_ntt": "NTT (Japan)", "addr_sb0_ch0": "Number Bus 1 Channel 1",
    "addr_sb0_ch1": "Number Bus 1 Channel 2", "addr_sb1_ch0": "Number Bus 2 Channel 1",
    "addr_sb1_ch1": "Number Bus 2 Channel 2", "subaddr_sb0_ch0": "Subaddress Bus 1 Channel 1",
    "subaddr_sb0_ch1": "Subaddress Bus 1 Channel 2", "subaddr_sb1_ch0": "Subaddress Bus 2 Channel 1",
    "subaddr_sb1_ch1": "Subaddress Bus 2 Channel 2", "spid": "SPID", "ll": "Leased Line",
    "isdn.0": "ISDN", "pots.0": "POTS", "ll.0": "Leased Line", "eth.aux": "Ethernet (aux)",
    "eth.0": "Ethernet", "eth.1": "Ethernet (aux)", "eth.2": "Ethernet (ext 1)",
    "mobile.0": "Mobile", "mobile.pri": "Mobile (int 1)", "mobile.sec": "Mobile (int 2)",
    "mobile.1": "Mobile (ext 1)", "mobile.2": "Mobile (ext 2)", "mobile.3": "Mobile (ext 3)",
    "mobile.4": "Mobile (ext 4)", "wifi.0": "Wi-Fi (ext 1)", "wifi.1": "Wi-Fi (ext 2)",
    "wifi.2": "Wi-Fi (ext 3)", "wifi.3": "Wi-Fi (ext 4)", "wifi0": "Wi-Fi 1", "wifi1": "Wi-Fi 2",
    "take name": "Take Name", "save take ?": "Save take?", "save logfile as": "Save Log File As",
    "download mib": "Download MIB",
    "idle": "Idle", "direct dial": "Direct Dial", "incoming call": "Incoming Call",
    "connecting": "Connecting", "connection failed": "Connection Failed",
    "connection released": "Connection Released", "negotiating": "Negotiating",
    "waiting for sync": "Waiting for Sync", "ringing": "Ringing", "sync lost": "Sync Lost",
    "connection established": "Connection Established",
    "connection in progress": "Connection in Progress", "established": "Established",
    "release connection?": "Release Connection?", "disconnecting": "Disconnecting",
    "connected": "Connected", "disconnected": "Disconnected",
    "remote disconnect": "Remote Disconnect", "call sent": "Call sent",
    "bgan connected": "BGAN Connected", "data connected": "Mobile Connected",
    "pppoe connected": "PPPoE Connected", "wifi connected": "Wi-Fi Connected",
    "bgan disconnected": "BGAN Disconnected", "data disconnected": "Mobile Disconnected",
    "pppoe disconnected": "PPPoE Disconnected", "wifi disconnected": "Wi-Fi Disconnected",
    "bgan_detected": "BGAN Detected", "bgan_state": "BGAN State", "layer1": "Layer 1",
    "layer2": "Layer 2", "layer3": "Layer 3", "badaddress": "Bad Address", "auth": "Authentication",
    "no dialtone": "No Dial Tone", "5as unsupported config": "5AS: unsupported configuration",
    "start update?": "Start update?", "update starting": "Update starting...",
    "validate file": "Validating file", "stop applications": "Stopping applications",
    "install system": "Installing system", "install applications": "Installing applications",
    "finish update": "Finishing update", "rebooting": "Rebooting...",
    "rebooting_web": "The unit is rebooting...", "wifi active": "Wi-Fi Active",
    "wifi failure": "Wi-Fi Failure", "wifi connecting...": "Wi-Fi connecting...",
    "again_stop_upload": "Stop the upload again", "ok": "OK", "addr collision": "Address Collision",
    "not enough dec": "Not Enough Decoders", "receiving no sync": "Receiving (no sync)",
    "receiving sync err": "Receiving (sync error)", "receiving warning": "Receiving (warning)",
    "pre master": "Pre-Master", "codec-boards": "Codec Boards", "aes67-boards": "AES67 Boards",
    "aes67_board1": "AES67 Board 1", "aes67_board2": "AES67 Board 2",
    "power_supply1": "Power Supply 1", "power_supply2": "Power Supply 2",
    "power_detected": "Detected", "power_notdetected": "Not Detected",
    "rav_link_state": "Link State", "rav_sync_state": "Sync State", "rav_ptp_state": "PTP State",
    "rav_status_form": "AES67 Status", "rav_info_form": "AES67 Information",
    "rav_eth_form": "AES67 Network", "rav_config_form": "AES67 Configuration",
    "rav_netmode_form": "AES67 Network Mode", "rav_sample_rate": "Sample Rate",
    "rav_resolution": "Resolution", "rav_ptp_domain": "PTP Domain", "rav_netmode": "Network Mode",
    "rav_netmode_switch": "Switched", "rav_netmode_redund": "Redundant",
    "abr_config_form": "Auto Bit Rate", "abr_config": "Auto Bit Rate Configuration",
    "abr_calls": "Auto Bit Rate Calls", "abr_profile": "Auto Bit Rate Profile",
    "abr_minbr": "Minimum Bit Rate", "abr_maxbr": "Maximum Bit Rate", "jitterab": "Jitter Buffer",
    "ajb_config_form": "Adaptive Jitter Buffer", "ajb_calls": "Adaptive Jitter Buffer Calls",
    "ajb_profile": "Jitter Buffer Profile", "protocol_gateway": "Gateway Protocol",
    "protocol_snmp": "SNMP Protocol", "protocol_klem": "KLEM Protocol", "on": "On", "off": "Off",
}

# Error causes: short enough for a popup line.
CAUSES = {
    "001-location unavailable": "Location unavailable",
    "002-network unreachable": "Network unreachable", "003-wrong format": "Wrong format",
    "004-invalid file": "Invalid file", "005-destination unreachable": "Destination unreachable",
    "006-file corrupted": "File corrupted", "007-wrong version": "Wrong version",
    "008-wrong unit": "Wrong unit", "009-sdcard missing": "SD card missing",
    "010-sim missing": "SIM missing", "011-sim locked": "SIM locked", "012-no gps fix": "No GPS fix",
    "013-not attached": "Not attached", "014-ppp timeout": "PPP timeout",
    "015-not allowed": "Not allowed", "016-no signal": "No signal", "017-sim busy": "SIM busy",
    "018-ph-sim pin": "Phone SIM PIN", "019-ph-fsim pin": "Phone first SIM PIN",
    "020-ph-fsim puk": "Phone first SIM PUK", "021-ph-net pin": "Network PIN",
    "022-ph-net puk": "Network PUK", "023-ph-netsub pin": "Network subset PIN",
    "024-ph-netsub puk": "Network subset PUK", "025-ph-sp pin": "Service provider PIN",
    "026-ph-sp puk": "Service provider PUK", "027-ph-corp pin": "Corporate PIN",
    "028-ph-corp puk": "Corporate PUK", "100-wrong password": "Wrong password",
    "101-parameter not set": "Parameter not set", "102-unknown parameter": "Unknown parameter",
    "103-parameter set error": "103 Internal", "104-mandatory parameter missing": "Parameter missing",
    "105-invalid value": "Invalid value", "106-invalid id": "Invalid ID",
    "107-no space left": "No space left", "108-invalid config": "Invalid configuration",
    "109-not supported": "Not supported", "110-not available": "Not available",
    "111-filename already exists": "File name exists", "112-file not found": "File not found",
    "113-unknown destination": "113 Internal", "114-unimplemented": "114 Internal",
    "115-resource busy": "Resource busy", "116-invalid state": "Invalid state",
    "117-timeout": "Timeout", "118-resource unavailable": "118 Internal",
    "119-remote address missing": "Remote address missing", "120-no connection": "No connection",
    "121-no incoming call pending": "Call aborted", "122-pin required": "PIN required",
    "123-not registered": "Not registered", "124-puk required": "PUK required",
    "125-pin2 required": "PIN2 required", "126-puk2 required": "PUK2 required",
    "127-connection active": "Connection active", "128-loop control active": "Loop control active",
    "129-mobile data service off": "Mob data off",
    "130-mobile data service failure": "Mob data failure",
    "131-mobile data service processing": "Mob data processing",
    "132-usb host connected": "USB host connected", "133-not available on 4G": "Not available on 4G",
    "134-no cable": "No cable", "135-wifi off": "Wi-Fi off", "136-wifi failure": "Wi-Fi failure",
    "137-wifi connecting...": "Wi-Fi connecting...", "138-account not accepted": "Account not accepted",
    "139-incompatible with sip1": "Incompatible with SIP 1",
    "140-inconsistant with sip2": "Inconsistent with SIP 2",
    "141-sip1_not configured": "SIP 1 not configured", "200-unknown error": "200 Internal",
    "201-hardware error": "201 Internal", "202-file system error": "202 Internal",
    "203-OS error": "203 Internal", "204-unknown command": "204 Internal",
}

# Help texts of the settings pages.
HELP = {
    "http_system_update_text": "System update started ... Do not turn off the unit!",
    "http_system_update_warning": "The unit restarts when the update is finished. Do not turn it off in the meantime.",
    "http_error_404": "The requested page was not found.",
    "http_confirmPw": "Please confirm the password.",
    "http_confirmPw_redir": "Password confirmed. You are being redirected.",
    "http_confirmPw_invalid": "The password is invalid.",
    "http_confirmPw_error": "The two passwords do not match.",
    "http_alreadyLogged": "Another user is already logged in.",
    "http_loggedOut": "You have been logged out.",
    "http_help_stun_mode": "STUN lets the unit find its public address when it sits behind a NAT router.",
    "http_help_stun_server": "Address of the STUN server, for example stun.example.net.",
    "http_help_sip_mode": "Selects whether calls over IP use SIP signalling or direct RTP.",
    "http_help_keepalive": "Interval at which the unit keeps its NAT binding open towards the SIP server.",
    "http_help_aux": "The auxiliary input can be used as an analog or as an AES digital input.",
    "http_help_aux_dcodec": "In double codec mode the auxiliary input feeds the second codec.",
    "http_help_codec_advanced": "Advanced settings of the coding algorithm. Keep the defaults unless advised otherwise.",
    "http_help_sms": "Sends an SMS when a call is set up or released.",
    "http_help_ext_relay": "Assigns a function to each external relay output.",
    "http_help_gpi_allocation": "Assigns an event to each general-purpose input.",
    "http_help_gpio": "Configures the general-purpose inputs and outputs of the unit.",
    "http_help_gpio_extension": "A relay extension box connected to the Larch+ S through its USB host port adds further inputs and outputs.",
    "http_help_rp": "Remote profiles are settings that the unit can load from a server.",
    "http_help_directdial": "Direct dial calls the stored remote number as soon as the link is free.",
    "http_help_infobox": "The info box shows a short text on the display of the remote unit.",
    "http_help_bgan": "Settings for a BGAN satellite terminal connected to the Ethernet port.",
    "http_help_bgd": "Background data uses the spare capacity of the link.",
    "http_help_protocol": "The D-channel protocol of the ISDN line.",
    "http_help_localnr": "The local numbers of the ISDN line, used to accept incoming calls.",
    "http_help_spid": "Service profile identifiers, needed on some North American ISDN lines.",
    "http_help_5as": "5AS connects to the remote side with up to five ISDN channels.",
    "http_help_mobileData": "Mobile data carries calls over IP through the mobile network.",
    "http_help_mobileVoice": "Mobile voice carries calls as circuit-switched voice calls.",
    "http_help_preferredTech": "Limits the radio access technology the modem may use.",
    "http_help_diversity": "Diversity sends the audio over two networks at the same time.",
    "http_help_diversity2": "The second network of a diversity call.",
    "http_help_defnet": "The network used for calls when none is chosen explicitly.",
    "http_help_secondary_network": "The network used for the second stream or as a backup.",
    "http_help_dtt": "Dial tone detection checks for a dial tone before the number is dialled.",
    "http_help_speed": "Speed of the data channel in bits per second.",
    "http_help_playback": "Plays a record stored on the unit.",
    "http_help_recordlist": "The records stored on the unit.",
    "http_help_reset": "Resets the selected settings to their factory defaults.",
    "http_help_reboot": "Restarts the unit. Active calls are released.",
    "http_help_export": "Saves the configuration of the unit to a file.",
    "http_help_import": "Loads a configuration file into the unit.",
    "http_help_loopAudio": "Loops the decoded audio back into the encoder.",
    "http_help_loop3": "Loops the audio inside the unit for a local test.",
    "http_help_loop2net": "Loops the received data back towards the network.",
    "http_help_loopFeedback": "Sends the received audio back to the remote side.",
    "http_help_password": "Passwords protect the expert and administrator access levels.",
    "http_help_ftp": "Server and account used to transfer files by FTP.",
    "http_no_jplayer": "The audio player is not available in this browser.",
    "http_help_local_profiles": "Local profiles are complete call settings stored on the unit.",
    "http_help_remote_profiles": "Remote profiles are loaded from a server when a call is set up.",
    "http_help_sip_profiles": "SIP profiles hold the settings of a SIP account.",
    "http_help_profiles_transfer": "Copies profiles between the unit and a file.",
    "http_help_profiles_transfer_sf": "Copies profiles between the unit and an SD card.",
    "http_help_manage_profiles": "Create, rename and delete the stored profiles.",
    "http_help_ntp": "The time server the unit synchronises its clock with.",
    "http_help_ll_if": "The interface used for the leased line.",
    "http_help_packet_replication": "Sends every packet twice to survive packet loss.",
    "http_help_alarms": "Selects which alarms are reported.",
    "http_help_alarms_vantel": "Selects which alarms are shown on the front panel.",
    "http_help_sip_rtp_label": "Ports used for SIP signalling and RTP audio.",
    "http_help_sip_rtp_ports": "The first port of the RTP range; each call uses the next free pair.",
    "http_help_rtp_tos": "Type of service value of outgoing RTP packets.",
    "http_help_network_quality": "Quality of the IP network, measured during a call.",
    "http_help_mobile_network_quality": "Quality of the mobile network, measured during a call.",
    "http_help_wifi_network_quality": "Quality of the Wi-Fi network, measured during a call.",
    "http_help_remoteAccess": "Remote access lets a service engineer reach the unit over the network.",
    "http_help_remoteAccessInfo": "Remote access is active only while this option is on.",
    "http_help_remoteAccessPwd": "Password that the service engineer needs for remote access.",
    "http_help_snmp": "SNMP lets a network management system watch the unit.",
    "http_help_snmp_info": "The unit answers SNMP requests and can send traps.",
    "http_help_snmp_community": "Community names for read-only and read-write access.",
    "http_help_snmp_trap_receiver": "Address and port that SNMP traps are sent to.",
    "http_help_snmp_mask_alarm": "Selects the alarms that raise an SNMP trap.",
    "http_help_rav_eth": "Network settings of the AES67 module.",
    "http_help_abr_profile": "How quickly the bit rate adapts to the network.",
    "http_help_ajb_profile": "How the jitter buffer trades delay against dropouts.",
    "http_help_protocol_gateway": "Lets a control system work the unit through a gateway.",
    "http_help_protocol_klem": "KLEM lets a remote control panel work the unit over the network.",
    "http_help_protocol_reboot": "Changing the control protocol takes effect after a restart.",
    "http_help_sip_sess_timers": "Session timers detect calls whose remote side has gone away.",
}

SMALL_WORDS = {"a", "an", "and", "as", "at", "by", "for", "has", "in", "not", "of", "on", "or",
               "the", "to", "with"}


def caption(key):
    """A readable caption made from a key's words."""
    words = re.split(r"[_\-\s]+", key.strip())
    out = []
    for word in words:
        if not word:
            continue
        lower = word.lower()
        if lower in WORDS:
            if WORDS[lower]:
                out.append(WORDS[lower])
            continue
        match = re.match(r"^([a-z]+)(\d+)$", lower)
        if match and match.group(1) in ("input", "output", "relay", "profile", "in", "link",
                                        "headphone", "codec", "stream", "board", "label"):
            out.append(match.group(1).capitalize() + " " + match.group(2))
            continue
        if match and match.group(1) in WORDS:
            out.append(WORDS[match.group(1)] + " " + match.group(2))
            continue
        out.append(word if word[0].isupper() else word.capitalize())
    return " ".join(out)


def text_for(key, seen):
    if key == "output_level":
        # The table holds this key twice; the first row is the one that shows.
        return "Line Out Level" if seen == 0 else "Output Level"
    for table in (TEXTS, CAUSES, HELP):
        if key in table:
            return table[key]
    if key.startswith("http_"):
        raise SystemExit("no help text for " + key)
    if re.match(r"^\d{3}-", key):
        raise SystemExit("no cause text for " + key)
    if " " in key:
        # Menu captions and messages: title case, short joining words kept small.
        words = caption(key).split(" ")
        return " ".join([words[0]] + [w.lower() if w.lower() in SMALL_WORDS else w
                                      for w in words[1:]])
    match = re.match(r"^(alarm|digi_in|ext_input|ext_relay|input_event_r|relay_state_r|"
                      r"call_gpi_profile|input_event_coord)(\d)(on|_isolated)?$", key)
    if match:
        stem = {"alarm": "Alarm", "digi_in": "Digital Input", "ext_input": "External Input",
                "ext_relay": "External Relay", "input_event_r": "Relay",
                "relay_state_r": "Relay", "call_gpi_profile": "Call Profile",
                "input_event_coord": "Coord."}[match.group(1)]
        tail = {"on": " On", "_isolated": " (isolated)", None: ""}[match.group(3)]
        return "%s %s%s" % (stem, match.group(2), tail)
    return caption(key)


def main():
    if len(KEYS) != 1224:
        raise SystemExit("expected 1224 keys, found %d" % len(KEYS))
    rows = []
    seen = {}
    for key in KEYS:
        text = text_for(key, seen.get(key, 0))
        seen[key] = seen.get(key, 0) + 1
        if ":" in key or not text.strip():
            raise SystemExit("bad row for " + key)
        row = "%s:%s\n" % (key, text)
        row.encode("ascii")
        rows.append(row)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = os.path.join(root, "resources", "locale", "English.locale")
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "w", encoding="ascii", newline="\n") as out:
        out.writelines(rows)
    sys.stdout.write("%s: %d rows\n" % (target, len(rows)))


if __name__ == "__main__":
    main()
