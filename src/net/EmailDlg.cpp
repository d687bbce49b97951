#include "net/EmailDlg.h"

#include <commdlg.h>

#include <iterator>

#include "res/ids_email.h"
#include "ui/Effects.h"
#include "base/Text.h"

EmailDlg::EmailDlg(std::vector<net::MailProvider> providers, net::Services& services)
    : controls::MirvenDialog(kTemplate), providers_(std::move(providers)), services_(services) {
  // The template's body field is a rich edit.
  LoadLibraryW(L"riched20.dll");
}

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_EMAIL_TEXT1, 10, 23, 70, 14},
    {IDC_EMAIL_SENDER, 88, 18, 192, 23},
    {IDC_EMAIL_SENDER_PROVIDER, 290, 18, 168, 210},
    {IDC_EMAIL_TEXT2, 10, 54, 70, 14},
    {IDC_EMAIL_PASSWORD, 88, 49, 192, 23},
    {IDC_EMAIL_TEXT3, 10, 86, 70, 14},
    {IDC_EMAIL_RECIPIENT, 88, 80, 192, 23},
    {IDC_EMAIL_RECIPIENT_PROVIDER, 290, 80, 168, 210},
    {IDC_EMAIL_TEXT4, 10, 117, 70, 14},
    {IDC_EMAIL_COPY, 88, 112, 371, 23},
    {IDC_EMAIL_TEXT5, 10, 149, 70, 14},
    {IDC_EMAIL_SUBJECT, 88, 144, 371, 23},
    {IDC_EMAIL_TEXT6, 10, 180, 70, 14},
    {IDC_EMAIL_ATTACHMENT, 88, 175, 304, 23},
    {IDC_EMAIL_BROWSE, 399, 173, 60, 26},
    {IDC_EMAIL_TEXT7, 10, 212, 70, 14},
    {IDC_EMAIL_BODY, 88, 206, 371, 172},
    {IDC_EMAIL_SEND, 262, 392, 91, 28},
    {IDC_EMAIL_QUIT, 368, 392, 91, 28},
};
}  // namespace

BOOL EmailDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetLayout(controls::Layout(476, 430, kLayout));
  body_.SubclassDlgItem(IDC_EMAIL_BODY, hwnd_);
  for (int list : {IDC_EMAIL_SENDER_PROVIDER, IDC_EMAIL_RECIPIENT_PROVIDER}) {
    for (size_t i = 0; i < providers_.size(); ++i)
      SendDlgItemMessageW(hwnd(), list, CB_INSERTSTRING, i,
                          reinterpret_cast<LPARAM>(base::Wide(providers_[i].suffix).c_str()));
    SetComboIndex(list, 0);
  }
  return TRUE;
}

bool EmailDlg::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_EMAIL_SENDER_PROVIDER:
    case IDC_EMAIL_RECIPIENT_PROVIDER:
      if (code == CBN_SELCHANGE) {
        int index = ComboIndex(id);
        if (index >= 0 && static_cast<size_t>(index) < providers_.size())
          (id == IDC_EMAIL_SENDER_PROVIDER ? senderProvider_ : recipientProvider_) = index;
      }
      return true;
    case IDC_EMAIL_BROWSE:
      if (code == BN_CLICKED) OnBrowse();
      return true;
    case IDC_EMAIL_SEND:
      if (code == BN_CLICKED) OnSend();
      return true;
    case IDC_EMAIL_QUIT:
      if (code == BN_CLICKED) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
      return true;
  }
  return false;
}

// A window closed while its mail is on the way goes away once the send
// has ended, so that closing never waits for the server.
void EmailDlg::OnCancel() {
  if (!Sending()) {
    controls::MirvenDialog::OnCancel();
    return;
  }
  closeWhenSent_ = true;
  ShowWindow(hwnd(), SW_HIDE);
}

void EmailDlg::OnBrowse() {
  wchar_t path[32768] = L"";
  const wchar_t filter[] = L"All Files(*.*)\0*.*\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = path;
  ofn.nMaxFile = static_cast<DWORD>(std::size(path));
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER;
  if (GetOpenFileNameW(&ofn)) SetItemText(IDC_EMAIL_ATTACHMENT, base::Utf8(path));
}

net::EmailForm EmailDlg::ReadForm() const {
  net::EmailForm form;
  form.senderAccount = ItemText(IDC_EMAIL_SENDER);
  form.password = ItemText(IDC_EMAIL_PASSWORD);
  form.recipientAccount = ItemText(IDC_EMAIL_RECIPIENT);
  form.copyAddress = ItemText(IDC_EMAIL_COPY);
  form.subject = ItemText(IDC_EMAIL_SUBJECT);
  form.attachmentPath = ItemText(IDC_EMAIL_ATTACHMENT);
  form.body = ItemText(IDC_EMAIL_BODY);
  form.senderProvider = senderProvider_;
  form.recipientProvider = recipientProvider_;
  return form;
}

void EmailDlg::OnSend() {
  if (Sending()) return;
  net::EmailForm form = ReadForm();
  // Refusals that need neither a file nor a server are answered at once;
  // the attachment is looked at on the worker, since a path can name a
  // device, a pipe or a stalled share.
  std::string refused = net::CheckEmailFields(form, providers_);
  if (!refused.empty()) {
    ui::effects().ShowMessage(hwnd(), net::kFailedPrefix + refused, net::kEmailCaption, MB_OK);
    return;
  }
  sending_ = true;
  EnableWindow(GetDlgItem(hwnd(), IDC_EMAIL_SEND), FALSE);
  HWND self = hwnd();
  auto providers = providers_;
  net::Services* services = &services_;
  bool started = worker_.Start([this, self, form, providers, services](const ui::StopToken& run) {
    net::SendOutcome outcome = net::SendEmail(form, providers, *services, run.Flag());
    run.Post(self, [this, outcome] { Finish(outcome); });
  });
  if (!started) Finish({false, false, 0, std::string(net::kFailedPrefix) + "无法启动发送任务"});
}

void EmailDlg::Finish(const net::SendOutcome& outcome) {
  sending_ = false;
  EnableWindow(GetDlgItem(hwnd(), IDC_EMAIL_SEND), TRUE);
  if (closeWhenSent_) {
    controls::MirvenDialog::OnCancel();
    return;
  }
  ui::effects().ShowMessage(hwnd(), outcome.message, net::kEmailCaption,
                            MB_OK | (outcome.sent ? MB_ICONINFORMATION : MB_ICONWARNING));
}

EmailDlg* OpenEmailSender() { return controls::MirvenDialog::Open<EmailDlg>("邮件发送器"); }
