#pragma once
// Control ids of the memory windows.
