#pragma once
// Ties the server client into the hub at start-up: setting a server address enrols the device.

// Installs the device enrolment as the hub's enrolment hook; called before the configuration is
// loaded.
void installServerClient();
