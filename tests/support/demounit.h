#pragma once

class FakeQuorix;

// Turns a fake unit into the demo unit that fake-quorix serves: the values a unit reports at
// login, its passwords, and the answers and reports that make calls and levels move. The demo
// is built from one part per area (demo<area>.cpp); each adds its keys to the store and, where
// the unit reacts to a request, a handler. Installs the fake's reply hook; call it once.
void installDemoUnit(FakeQuorix &fake);
