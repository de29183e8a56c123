#include "gui/views/statistics_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/views/statistics_chart.h"
#include "views/port_statistics.h"

namespace qv::gui {

StatisticsDialog::StatisticsDialog(const std::string& text, std::vector<PortChartBar> bars, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Statistics"));

  textBox_ = new QPlainTextEdit;
  textBox_->setReadOnly(true);
  textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Plain text: the line breaks are CR LF, which the box shows as one break.
  QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  textBox_->setPlainText(shown);
  const QFontMetrics metrics = textBox_->fontMetrics();
  // Tab stops wide enough for the widest column title, so the columns line up.
  const int tab = metrics.horizontalAdvance(QStringLiteral("[ratio(%)]")) + metrics.averageCharWidth() * 2;
  textBox_->setTabStopDistance(tab);
  textBox_->setMinimumWidth(tab * 4 + metrics.height() * 2);
  textBox_->setMinimumHeight(metrics.lineSpacing() * 12);

  chart_ = new StatisticsChart(std::move(bars));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &StatisticsDialog::accept);

  auto* content = new QHBoxLayout;
  content->addWidget(textBox_, 0);
  content->addWidget(chart_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(content, 1);
  layout->addWidget(buttons);
}

StatisticsDialog::StatisticsDialog(TrafficRows shown, QWidget* parent)
    : StatisticsDialog(portStatisticsText(shown), portChartBars(shown), parent) {}

QString StatisticsDialog::text() const { return textBox_->toPlainText(); }

}  // namespace qv::gui
