// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/SessionExport.h"

#include <QFileInfo>
#include <QSaveFile>
#include <memory>

#include "export/CsvWriter.h"
#include "export/GpxWriter.h"
#include "export/KmlWriter.h"
#include "export/PositionTrack.h"
#include "export/SessionMeasure.h"
#include "gsmtap/GsmtapPacket.h"
#include "gsmtap/PcapWriter.h"
#include "session/SessionLog.h"
#include "sysinfo/BcchCapture.h"

namespace {
const char* const kFormatNames[EXPORT_FORMAT_COUNT] = {"csv", "kml", "gpx", "pcap"};

QString ReadFailed(const QString& strIn, const QString& strError)
{
    return QStringLiteral("cannot read %1: %2").arg(strIn, strError);
}

QString WriteFailed(const QString& strOut, const QString& strError)
{
    return QStringLiteral("cannot write %1: %2").arg(strOut, strError);
}

QString NotALog(const QString& strIn)
{
    return QStringLiteral("%1 is not a traffic log (no line of it is a log entry)").arg(strIn);
}

std::unique_ptr<CExportWriter> MakeWriter(int nFormat, QIODevice* pOut)
{
    switch (nFormat) {
    case EXPORT_CSV:
        return std::make_unique<CCsvWriter>(pOut);
    case EXPORT_KML:
        return std::make_unique<CKmlWriter>(pOut);
    case EXPORT_GPX:
        return std::make_unique<CGpxWriter>(pOut);
    default:
        return nullptr;
    }
}

int RunPcap(CSessionMeasure& m, const QString& strIn, const QString& strOut, SExportCounts* pCounts,
            QString* pError)
{
    CPcapWriter writer;
    QString error;
    if (!writer.Open(strOut, &error)) {
        *pError = WriteFailed(strOut, error);
        return CSessionExport::EX_WRITE_FAILED;
    }
    CBcchCapture capture;
    m.SetTraceHook([&](const CTraceReport& report, int nReport) {
        SBcchMessage message;
        if (capture.Follow(report, nReport, &message)) {
            writer.Write(m.Time().toMSecsSinceEpoch(), CGsmtapPacket::Make(message));
            ++pCounts->nWritten;
        }
    });
    m.Run();
    pCounts->nLines = m.Lines();
    pCounts->nSkipped = m.Skipped();
    if (m.Entries() == 0) {
        *pError = NotALog(strIn);
        return CSessionExport::EX_NOT_A_LOG;
    }
    if (!writer.Commit(&error)) {
        *pError = WriteFailed(strOut, error);
        return CSessionExport::EX_WRITE_FAILED;
    }
    return CSessionExport::EX_OK;
}
} // namespace

int CSessionExport::FormatOfName(const QString& strName)
{
    for (int i = 0; i < EXPORT_FORMAT_COUNT; ++i)
        if (strName.compare(QLatin1String(kFormatNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int CSessionExport::FormatOfPath(const QString& strPath)
{
    return FormatOfName(QFileInfo(strPath).suffix());
}

const char* CSessionExport::FormatName(int nFormat)
{
    return nFormat >= 0 && nFormat < EXPORT_FORMAT_COUNT ? kFormatNames[nFormat] : "";
}

int CSessionExport::Run(const QString& strIn, const QString& strOut, int nFormat,
                        SExportCounts* pCounts, QString* pError)
{
    *pCounts = SExportCounts();
    QString error;
    CSessionMeasure m;
    if (m.Open(strIn, &error) != CSessionMeasure::SM_OK) {
        *pError = ReadFailed(strIn, error);
        return EX_READ_FAILED;
    }
    if (nFormat == EXPORT_PCAP) {
        pCounts->pszUnit = "messages";
        return RunPcap(m, strIn, strOut, pCounts, pError);
    }

    // The positions first: a row's position may come from a later fix.
    CPositionTrack track;
    {
        CSessionLog log;
        log.ReadFixes(true);
        if (log.Open(strIn, &error) != CSessionLog::SL_OK) {
            *pError = ReadFailed(strIn, error);
            return EX_READ_FAILED;
        }
        SLogEntry entry;
        SGpsFix fix;
        while (log.Next(&entry))
            if (entry.nChannel == LOG_GPS && !entry.bSent &&
                CSessionLog::ParseFix(entry.text, &fix))
                track.Add(fix, entry.nTime);
    }

    QSaveFile file(strOut);
    if (!file.open(QIODevice::WriteOnly)) {
        *pError = WriteFailed(strOut, file.errorString());
        return EX_WRITE_FAILED;
    }
    const std::unique_ptr<CExportWriter> writer = MakeWriter(nFormat, &file);
    if (!writer) {
        file.cancelWriting();
        *pError = QStringLiteral("unknown format");
        return EX_WRITE_FAILED;
    }
    pCounts->pszUnit = writer->Unit();
    QObject::connect(&m, &CSessionMeasure::SampleReady, [&](const SSample& sample) {
        SSample s = sample;
        s.fix = track.At(s.time);
        writer->WriteSample(s);
    });
    QObject::connect(&m, &CSessionMeasure::EventReady, [&](const SMeasureEvent& event) {
        writer->WriteEvent(event, track.At(event.time));
    });
    m.Run();
    pCounts->nLines = m.Lines();
    pCounts->nSkipped = m.Skipped();
    if (m.Entries() == 0) {
        file.cancelWriting();
        *pError = NotALog(strIn);
        return EX_NOT_A_LOG;
    }
    writer->Finish();
    pCounts->nWritten = writer->Written();
    if (!file.commit()) {
        *pError = WriteFailed(strOut, file.errorString());
        return EX_WRITE_FAILED;
    }
    return EX_OK;
}
