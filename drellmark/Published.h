// What the keeper's form descriptions name: the toolkit's controls with the published properties
// the descriptions set, the list of codes and the Flash player. Until the toolkit publishes its
// own controls for the form reader, the keeper does it here.
#pragma once

void RegisterDrellmarkControls();
