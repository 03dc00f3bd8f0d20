#pragma once
// A label that opens a link when pressed: its caption centred on white, underlined, in the link
// colour; the hover colour while the pointer is over it (the label holds the mouse capture then,
// to see the pointer leave); a pointing hand as the pointer.
#include <windows.h>

#include <string>

#include "ui/contact_link.h"
#include "win32/handles.h"
#include "ui/window.h"

namespace km {

constexpr COLORREF kLinkColour = RGB(0, 136, 255);
constexpr COLORREF kVisitedLinkColour = RGB(0, 136, 255);
constexpr COLORREF kHoverLinkColour = RGB(0, 0, 255);

class HyperlinkLabel final : public Window {
 public:
  // Opens the link; true when something was started. Tests give their own.
  using Opener = bool (*)(const std::string& link);

  explicit HyperlinkLabel(std::string link, Opener open = open_link_with_fallback);

  // A child of `parent` with the given id, caption and rectangle (client coordinates, device
  // pixels); the font's size follows `dpi`.
  bool create(HINSTANCE instance, HWND parent, int id, const char* caption, const RECT& where, int dpi);
  void set_dpi(int dpi);

  bool hover() const { return hover_; }
  bool visited() const { return visited_; }
  COLORREF text_colour() const;

 private:
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void pointer_moved(POINT where);
  void pressed();
  void paint();

  std::string link_;
  Opener open_;
  bool hover_ = false;
  bool visited_ = false;
  UniqueFont font_;
};

}  // namespace km
