// The main window: the list of the latest log lines, its menu, the tray icon, and the timer that ends
// the program once the service thread has ended.
#pragma once

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStyledItemDelegate>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <atomic>
#include <optional>

#include "service/TThreadServer.h"
#include "ui/RegrasJanela.h"

// Rows of the list are this tall, whatever the font.
class TAlturaLinha : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override;
};

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  static constexpr int LARGURA_CLIENTE = janela::LARGURA_CLIENTE;
  static constexpr int ALTURA_CLIENTE = janela::ALTURA_CLIENTE;
  static constexpr int ALTURA_LINHA = janela::ALTURA_LINHA;
  static constexpr int INTERVALO_TIMER = janela::INTERVALO_TIMER;
  static constexpr int CODIGO_SAIDA_SERVICO = janela::CODIGO_SAIDA_SERVICO;

  // With opcoes the window starts the service thread when it is created; without, it shows lines only.
  explicit TfrmMain(std::optional<OpcoesServico> opcoes);
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Appends one line to lbmain. Any thread, at any time: the line reaches the list on the window's
  // thread, in the order of the calls; without a window, or while it is being destroyed, it is dropped.
  // This is the log's window sink, so it never logs.
  static void AdicionaLinha(const char* texto);

  // Written by the service thread as the last act of its run; read by Timer1. A process-wide flag, so
  // the service thread can still set it after the window has gone.
  static inline std::atomic<bool> servicoEncerrado{false};

  // Whether the desktop shows tray icons now (the window only hides itself when it does).
  static bool BandejaDisponivel();

  // The window's elements, under the names the rest of the program and the tests use.
  QVBoxLayout layout;
  QMenuBar MainMenu1;
  QMenu Arquivo1;
  QAction Sair1;
  QListWidget lbmain;
  TAlturaLinha alturaLinha;
  QMenu PopupMenu1;
  QAction abrirZELP;
  QAction N1;
  QAction FecharZELP;
  QSystemTrayIcon tricon;
  QTimer triconAnimacao;
  QTimer Timer1;
  QTimer verificaBandeja;
  std::optional<TThreadServer> threadServer;

  // The handlers, public so the user's commands can be driven the same way by tests.
  void triconAnimate();
  void triconClick();
  void abrirZELPClick();
  void FecharZELPClick();
  void Sair1Click();
  void Timer1Timer();
  void OnMinimize();

  // True between the move to the tray and the next restore.
  bool NaBandeja() const { return naBandeja_; }

 protected:
  void changeEvent(QEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void FormCreate(std::optional<OpcoesServico> opcoes);
  void triconActivated(QSystemTrayIcon::ActivationReason motivo);
  void MinimizaAplicacao();
  void RestauraAplicacao();
  void VerificaBandeja();
  void AplicaLinhas();
  void Termina(int codigo);

  bool naBandeja_ = false;
  bool bandejaVista_ = false;
  bool terminando_ = false;
};
