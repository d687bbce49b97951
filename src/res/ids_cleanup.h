#pragma once
// Control ids of the cleanup windows.
