// The outer loop: the top-level graphs of a file, separated by ".", each handed to the sink
// when it ends.
#include "cgif/reader/CgifReader.h"
#include "platform/TextStream.h"

namespace zov::cgif {

namespace {
// The input belongs to the caller: forget it when the reading ends, however it ends.
class InputScope {
public:
    InputScope(platform::TextStream*& slot, platform::TextStream& stream) : slot_(slot) { slot_ = &stream; }
    ~InputScope() { slot_ = nullptr; }
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

private:
    platform::TextStream*& slot_;
};
} // namespace

bool CgifReader::ReadCgifStream(platform::TextStream& stream) {
    InputScope scope(input_, stream);
    atEnd_ = false;
    SetCurrentLine(QString());
    for (;;) {
        if (!ReadGraph()) {
            atEnd_ = true;
            return false;
        }
        if (!MatchChar(u'.', false)) {
            atEnd_ = true;
            return true;
        }
        atEnd_ = false;
    }
}

bool CgifReader::ReadGraph() {
    ClearReaderTables();
    tables_.Contexts.clear();
    tables_.Contexts.push_back(ContextRecord{});
    nestingDepth_ = 0;

    // Failures while the title comment is read are the caller's to report.
    QString title;
    if (ReadComment(false, false))
        title = ExtractTitle(true);
    if (title.isEmpty()) {
        graphTitleType_.clear();
        graphTitleName_.clear();
    } else {
        SplitGraphTitle(title);
    }
    NodeRecord graph;
    AddGraphNode(graph, graphTitleType_, graphTitleName_);
    tables_.Contexts[0] = ContextRecord{0, tables_.BoundArray[0].Kind, -1, -1, QString(), QString()};

    try {
        while (!atEnd_ && ReadElement(false, true)) {
        }
    } catch (const ParseError& failure) {
        ShowError(failure.message());
        return false;
    } catch (const std::exception& failure) {
        ShowError(QString::fromUtf8(failure.what()));
        return false;
    }

    const NodeRecord& graphNode = tables_.BoundArray[0];
    if (graphNode.Kind == NodeKind::Graph) {
        try {
            sink_->BuildGraphSlide(*this, graphNode.Name + u'/' + graphNode.Id, graphNode.Type, 0, 1);
        } catch (const std::exception& failure) {
            ShowError(QStringLiteral("Graph %1 could not be drawn: %2")
                          .arg(graphNode.Name, QString::fromUtf8(failure.what())));
        }
    }
    return true;
}

} // namespace zov::cgif
