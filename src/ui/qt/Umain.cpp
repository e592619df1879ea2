// The main window: the list of the latest log lines, its menu, the tray icon, and the timer that ends
// the program once the service thread has ended.
#include "ui/qt/Umain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QMetaObject>
#include <QScreen>

#include <string>
#include <utility>

#include "comum/Limites.h"
#include "log/GravaLog.h"
#include "ui/FilaLinhas.h"
#include "ui/qt/IconeZelp.h"

namespace {

// Outlives every window, so a line that arrives while one is being destroyed finds a valid lock.
TFilaLinhas& Fila() {
  static TFilaLinhas fila;
  return fila;
}

QString TextoDaLinha(const std::string& texto) {
  const std::string linha = janela::TextoDaLinha(texto);
  return QString::fromUtf8(linha.data(), static_cast<qsizetype>(linha.size()));
}

}  // namespace

QSize TAlturaLinha::sizeHint(const QStyleOptionViewItem& opcao, const QModelIndex& indice) const {
  QSize tamanho = QStyledItemDelegate::sizeHint(opcao, indice);
  tamanho.setHeight(TfrmMain::ALTURA_LINHA);
  return tamanho;
}

TfrmMain::TfrmMain(std::optional<OpcoesServico> opcoes)
    : QWidget(nullptr),
      layout(this),
      MainMenu1(this),
      Arquivo1(QString::fromUtf8(janela::MENU_ARQUIVO), this),
      Sair1(QString::fromUtf8(janela::MENU_SAIR), this),
      lbmain(this),
      alturaLinha(this),
      PopupMenu1(this),
      abrirZELP(QString::fromUtf8(janela::MENU_ABRIR), this),
      N1(QStringLiteral("-"), this),
      FecharZELP(QString::fromUtf8(janela::MENU_ENCERRAR), this),
      tricon(this),
      triconAnimacao(this),
      Timer1(this),
      verificaBandeja(this) {
  setObjectName(QStringLiteral("frmMain"));
  QFont fonte(QString::fromUtf8(janela::FONTE));
  fonte.setStyleHint(QFont::SansSerif);
  fonte.setPixelSize(janela::ALTURA_FONTE);
  setFont(fonte);
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, paleta.color(QPalette::Button));
  setPalette(paleta);
  setAutoFillBackground(true);
  setWindowIcon(IconeZelp());

  Arquivo1.setObjectName(QStringLiteral("Arquivo1"));
  Sair1.setObjectName(QStringLiteral("Sair1"));
  Arquivo1.addAction(&Sair1);
  MainMenu1.addMenu(&Arquivo1);
  connect(&Sair1, &QAction::triggered, this, &TfrmMain::Sair1Click);

  lbmain.setObjectName(QStringLiteral("lbmain"));
  lbmain.setItemDelegate(&alturaLinha);
  lbmain.setUniformItemSizes(true);
  lbmain.setSelectionMode(QAbstractItemView::SingleSelection);
  layout.setContentsMargins(0, 0, 0, 0);
  layout.setSpacing(0);
  layout.setMenuBar(&MainMenu1);
  layout.addWidget(&lbmain);

  abrirZELP.setObjectName(QStringLiteral("abrirZELP"));
  N1.setObjectName(QStringLiteral("N1"));
  N1.setSeparator(true);
  FecharZELP.setObjectName(QStringLiteral("FecharZELP"));
  QFont negrito = abrirZELP.font();
  negrito.setBold(true);
  abrirZELP.setFont(negrito);
  PopupMenu1.addAction(&abrirZELP);
  PopupMenu1.addAction(&N1);
  PopupMenu1.addAction(&FecharZELP);
  PopupMenu1.setDefaultAction(&abrirZELP);
  connect(&abrirZELP, &QAction::triggered, this, &TfrmMain::abrirZELPClick);
  connect(&FecharZELP, &QAction::triggered, this, &TfrmMain::FecharZELPClick);

  tricon.setIcon(IconeZelp());
  tricon.setToolTip(QString::fromUtf8(janela::DICA_BANDEJA));
  tricon.setContextMenu(&PopupMenu1);
  connect(&tricon, &QSystemTrayIcon::activated, this, &TfrmMain::triconActivated);
  triconAnimacao.setInterval(INTERVALO_TIMER);
  connect(&triconAnimacao, &QTimer::timeout, this, &TfrmMain::triconAnimate);
  verificaBandeja.setInterval(INTERVALO_TIMER);
  connect(&verificaBandeja, &QTimer::timeout, this, &TfrmMain::VerificaBandeja);

  Timer1.setInterval(INTERVALO_TIMER);
  connect(&Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
  Timer1.start();

  setWindowTitle(QString::fromUtf8(janela::TITULO));

  // The list area is the client area; the menu bar comes on top of it.
  resize(LARGURA_CLIENTE, ALTURA_CLIENTE + MainMenu1.sizeHint().height());
  if (QScreen* tela = screen()) {
    QRect area = tela->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }

  FormCreate(std::move(opcoes));
}

TfrmMain::~TfrmMain() {
  // After this no thread posts to this window, and ~QObject drops what was already posted.
  Fila().Desliga();
}

void TfrmMain::FormCreate(std::optional<OpcoesServico> opcoes) {
  // Minimising is handled by changeEvent (OnMinimize).
  Fila().Liga([this] { QMetaObject::invokeMethod(this, [this] { AplicaLinhas(); }, Qt::QueuedConnection); });
  zelp_log::DefineSaidaJanela(&TfrmMain::AdicionaLinha);

  triconAnimacao.start();
  tricon.show();
  bandejaVista_ = BandejaDisponivel();
  verificaBandeja.start();

  servicoEncerrado.store(false);
  if (opcoes) threadServer.emplace(servicoEncerrado, std::move(*opcoes));
}

void TfrmMain::AdicionaLinha(const char* texto) { Fila().Adiciona(texto); }

void TfrmMain::AplicaLinhas() {
  TFilaLinhas::Lote lote = Fila().Retira();
  if (!lote.limpar && lote.linhas.empty()) return;
  lbmain.setUpdatesEnabled(false);
  if (lote.limpar) lbmain.clear();
  for (const std::string& linha : lote.linhas) lbmain.addItem(TextoDaLinha(linha));
  lbmain.setUpdatesEnabled(true);
}

bool TfrmMain::BandejaDisponivel() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TfrmMain::triconAnimate() {
  tricon.hide();
  triconAnimacao.stop();
  tricon.show();
  MinimizaAplicacao();
}

void TfrmMain::MinimizaAplicacao() {
  // Without a tray the window stays as it is: minimised, or hidden, it could not be found again.
  if (!BandejaDisponivel() || !tricon.isVisible()) return;
  setWindowState(windowState() | Qt::WindowMinimized);
  OnMinimize();
}

void TfrmMain::OnMinimize() {
  if (!BandejaDisponivel() || !tricon.isVisible()) return;  // the task-bar entry is the only way back
  hide();
  naBandeja_ = true;
}

void TfrmMain::changeEvent(QEvent* evento) {
  QWidget::changeEvent(evento);
  if (evento->type() == QEvent::WindowStateChange && isMinimized() && isVisible() && !naBandeja_) {
    // Hiding from inside the state change confuses some window managers; do it right after.
    QTimer::singleShot(0, this, [this] {
      if (isMinimized() && !naBandeja_) OnMinimize();
    });
  }
}

void TfrmMain::RestauraAplicacao() {
  naBandeja_ = false;
  setWindowState(windowState() & ~Qt::WindowMinimized);
  showNormal();
  raise();
  activateWindow();
}

void TfrmMain::triconActivated(QSystemTrayIcon::ActivationReason motivo) {
  if (motivo == QSystemTrayIcon::Trigger || motivo == QSystemTrayIcon::DoubleClick) triconClick();
}

void TfrmMain::triconClick() { RestauraAplicacao(); }

void TfrmMain::abrirZELPClick() { triconClick(); }

void TfrmMain::VerificaBandeja() {
  bool disponivel = BandejaDisponivel();
  if (disponivel && !bandejaVista_ && tricon.isVisible()) {
    // A tray that appeared after the icon was shown: showing the icon again puts it there.
    tricon.hide();
    tricon.show();
  }
  if (!disponivel && naBandeja_) RestauraAplicacao();  // the tray went away with the only way back
  bandejaVista_ = disponivel;
}

void TfrmMain::Termina(int codigo) {
  terminando_ = true;
  QCoreApplication::exit(codigo);
}

void TfrmMain::FecharZELPClick() { Termina(0); }

void TfrmMain::Sair1Click() { FecharZELPClick(); }

void TfrmMain::Timer1Timer() {
  if (janela::ServicoTerminou(servicoEncerrado)) Termina(CODIGO_SAIDA_SERVICO);
}

void TfrmMain::closeEvent(QCloseEvent* evento) {
  evento->accept();
  if (!terminando_) FecharZELPClick();
}
