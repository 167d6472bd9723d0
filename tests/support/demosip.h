#pragma once

#include "fakequorix.h"

#include <QList>

#include <optional>

// The SIP side of the demo unit's audio-over-IP interface "aoip": protocol, STUN, registration,
// keep-alive, direct RTP and quality-of-service settings, two SIP accounts (the first registered
// at a demo registrar, the second at another one, so the default-account switch can be used),
// and the double-streaming option. Passwords start empty; what the program writes is kept.
//
// answerSipDemo() lets a refused write be tried by hand: the unit refuses a settings write to
// "aoip" whose registrar, outbound proxy or STUN server holds a blank, with "105-invalid value"
// for that key, and then keeps none of the request's values.
void fillSipDemo(FakeQuorix &fake);

// The refusal above; std::nullopt for any other request, which the fake then answers itself.
std::optional<QList<FakeReply>> answerSipDemo(const FakeRequest &request);
