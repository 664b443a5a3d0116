#pragma once
// The two programs' icons, drawn at the sizes desktops ask for.
#include <QIcon>

// The configurator: a controller's settings as three sliders.
QIcon ConfiguratorIcon();
// The voice programmer: a loudspeaker.
QIcon VoiceProgrammerIcon();
