#pragma once
// Control ids of the checkup windows.
