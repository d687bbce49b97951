#pragma once
// Control ids of the tools windows.
