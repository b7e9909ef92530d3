#include "cli/ExporterCommandLine.h"

std::vector<std::string> ExporterCommandLine::CheckSource(const std::string& sourcePath) {
    return {kCheckSource, kSource, sourcePath, kProgressFd, std::to_string(kProgressDescriptor)};
}

std::vector<std::string> ExporterCommandLine::CheckRefdata(const std::string& refdataPath) {
    return {kCheckRefdata, kRefdata, refdataPath, kProgressFd, std::to_string(kProgressDescriptor)};
}

std::vector<std::string> ExporterCommandLine::Run(const RunSettings& values) {
    return {kSource,     values.m_strSourcePath,
            kRefdata,    values.m_strRefdataPath,
            kOutput,     values.m_strAdiPath,
            kOprCall,    values.m_strOprCall,
            kStart,      values.m_strStartDate,
            kEnd,        values.m_strEndDate,
            kProgressFd, std::to_string(kProgressDescriptor),
            kTrace};
}
