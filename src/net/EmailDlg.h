#pragma once
// The e-mail sender: one plain-text mail with an optional attachment,
// through one of the preset providers, sent on a worker.
#include <vector>

#include "controls/MirvenDialog.h"
#include "net/EmailForm.h"
#include "ui/Accessible.h"
#include "ui/Worker.h"

class EmailDlg : public controls::MirvenDialog {
 public:
  static constexpr int kTemplate = 118;

  // Tests pass providers of their own (servers on this machine).
  explicit EmailDlg(std::vector<net::MailProvider> providers = net::MailProviders(),
                    net::Services& services = net::SystemServices());

  bool Sending() const { return sending_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnCancel() override;

 private:
  void OnBrowse();
  void OnSend();
  void Finish(const net::SendOutcome& outcome);
  net::EmailForm ReadForm() const;

  std::vector<net::MailProvider> providers_;
  net::Services& services_;
  size_t senderProvider_ = 0;
  size_t recipientProvider_ = 0;
  bool sending_ = false;
  bool closeWhenSent_ = false;
  ui::Worker worker_;
  ui::NamedControl body_{"正文", 0x2A};  // ROLE_SYSTEM_TEXT
};

// Opens a new sender window, as the toolkit's e-mail tile does.
EmailDlg* OpenEmailSender();
