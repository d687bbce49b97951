#pragma once
// A page of picture tiles (the toolkit and shopping pages): the tiles are
// focusable target controls; the page paints its captions, lights the tile
// under the pointer with a hand cursor, shows it pressed while the left
// button is down on it, and acts on the tile under the pointer when the
// button is released.
#include <cstddef>

#include "controls/Page.h"
#include "controls/Targets.h"
#include "tools/Tiles.h"

namespace tools {

class TilePage : public controls::Page {
 public:
  TilePage(int templateId, const tiles::Tile* tiles, std::size_t count)
      : controls::Page(templateId), tiles_(tiles), count_(count), hover_(tiles, count) {}

  // Code of the lit tile, or 0.
  int HoveredCode() const { return hover_.hovered() < 0 ? 0 : tiles_[hover_.hovered()].code; }

 protected:
  // The page's captions, drawn after the tiles.
  virtual void PaintCaptions(HDC dc) = 0;
  virtual void OnTile(int code) = 0;

  BOOL OnInitDialog() override;
  void OnDpiApplied() override { targets_.Place(dpi_); }
  void OnPaint() override;
  void OnMouseMove(UINT flags, POINT client) override;
  void OnLButtonDown(UINT flags, POINT client) override;
  void OnLButtonUp(UINT flags, POINT client) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Redraw(tiles::TileHover::Redraw r);
  void ReleasePress();
  void CreateTargets();

  const tiles::Tile* tiles_;
  std::size_t count_;
  tiles::TileHover hover_;
  bool tracking_ = false;
  int pressed_ = -1;
  controls::Targets targets_;
};

}  // namespace tools
