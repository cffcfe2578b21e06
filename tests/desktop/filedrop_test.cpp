// Files dropped on the main window: object files, plain text files, and what is refused.
#include "core/documents/objectfile.h"
#include "mainwindow_fixture.h"
#include "tests/common/temporaryfolder.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QUrl>

namespace {

using namespace wirevane;

class FileDropTest : public FrameTest {
  protected:
    tests::TemporaryFolder folder;

    QString write(const QString& name, const QByteArray& bytes) {
        tests::writeFile(folder.file(name.toStdString()), bytes.toStdString());
        return folder.filePath(name);
    }
    QString objectFile(const QString& name, const std::string& text) {
        ObjectFileValues values;
        values.text = text;
        values.objectColor = 0x00C0C0;
        values.showCross = 1;
        std::string bytes;
        EXPECT_TRUE(encodeObjectFile(values, {}, bytes).ok());
        return write(name, QByteArray::fromStdString(bytes));
    }
    static QMimeData* files(const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    }
    // Drags the files over a widget of the frame; true when it may drop them (as a copy).
    bool dragOver(const QStringList& paths, QWidget* over = nullptr) {
        std::unique_ptr<QMimeData> data(files(paths));
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, data.get(),
                              Qt::LeftButton, {});
        QApplication::sendEvent(over ? over : &frame, &enter);
        if (enter.isAccepted()) {
            EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
        }
        return enter.isAccepted();
    }
    // A drop follows the drag that brought the files.
    void drop(const QStringList& paths, QWidget* on = nullptr) {
        dragOver(paths, on);
        std::unique_ptr<QMimeData> data(files(paths));
        QDropEvent event(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, data.get(),
                         Qt::LeftButton, {});
        QApplication::sendEvent(on ? on : &frame, &event);
        settle();
    }
    int windowCount() const { return static_cast<int>(frame.frameArea->subWindowList().size()); }
};

TEST_F(FileDropTest, WhatMayBeDropped) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString image = folder.filePath("picture.png");
    ASSERT_TRUE(picture.save(image));
    const QString cube = objectFile("cube.kfm", "1/2/3");
    const QString notes = write("notes.txt", "1/2/3\n");
    const QString objects = folder.filePath("objects.kfm");
    ASSERT_TRUE(QDir().mkdir(objects));
    const QString bare = write("points", "1/1/1\r\n2/2/2\r\n\r\n1-2\r\n");
    const QString shape = write("part.STL", "solid nothing\nendsolid\n");

    struct Row {
        QStringList paths;
        bool accepted;
    };
    const Row rows[] = {
        {{cube}, true},
        {{notes}, true},
        {{bare}, true}, // a text file without an extension
        {{cube, notes}, true},
        {{shape, cube}, true}, // a shape file, read only once dropped
        {{folder.qPath()}, false},
        {{objects}, false}, // a folder, whatever its name
        {{image}, false},
        {{cube, image}, false},
        {{folder.filePath("missing.kfm")}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(dragOver(row.paths), row.accepted) << row.paths.join(", ").toStdString();

    // A refused drop opens nothing.
    drop({cube, image});
    EXPECT_EQ(windowCount(), 0);
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(FileDropTest, ObjectFilesOpenEachInItsWindowAndABrokenOneOpensNothing) {
    const QString cube = objectFile("cube.kfm", "1/2/3\r\n\r\n1-1");
    const QString broken = write("broken.kfm", QByteArray("\x09\x00garbage", 9));
    const QString house = objectFile("house.KFM", "0/0/0");

    drop({cube, broken, house});

    ASSERT_EQ(windowCount(), 2);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0].title, "File not loaded");
    EXPECT_TRUE(prompts.errors[0].text.contains(broken));
    const auto windows = frame.frameArea->subWindowList(QMdiArea::CreationOrder);
    auto* first = qobject_cast<ObjectWindow*>(windows[0]->widget());
    EXPECT_EQ(first->Text2->text(), "cube.kfm");
    EXPECT_EQ(first->Text4->text(), cube);
    EXPECT_EQ(first->windowTitle(), "3D-Objekt - " + cube);
    EXPECT_EQ(first->objectText(), "1/2/3\r\n\r\n1-1");
    EXPECT_FALSE(first->hasUnsavedChanges());
    EXPECT_EQ(frame.activeObjectWindow()->Text2->text(), "house.KFM");
    EXPECT_EQ(scene.objectColor, 0x00C0C0); // the transfer values, as after a load
}

TEST_F(FileDropTest, TextFileBecomesANewObjectWithCrLfLines) {
    struct Row {
        QByteArray bytes;
        QString text; // empty: refused with a message
    };
    const QByteArray tooLong(10526, 'a');
    const Row rows[] = {
        {"1/2/3\n4/5/6\n\n1-2\n", "1/2/3\r\n4/5/6\r\n\r\n1-2\r\n"},
        {"a\r\nb\rc", "a\r\nb\r\nc"},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9",
         QString::fromUtf8("caf\xC3\xA9")},            // UTF-8 with its mark
        {"caf\xE9", QString::fromUtf8("caf\xC3\xA9")}, // the code page
        {QByteArray(10525, 'a'), QString(10525, 'a')},
        {tooLong, {}},
        {QByteArray(5262, 'a') + QByteArray(1, '\n'), QString(5262, 'a') + "\r\n"},
        {QByteArray(10524, 'a') + QByteArray(1, '\n'), {}}, // the CR it gains is one too many
        {QByteArray(60000, 'a'), {}},
    };
    int opened = 0;
    for (const Row& row : rows) {
        const std::size_t errorsBefore = prompts.errors.size();
        drop({write("dropped.txt", row.bytes)});
        if (row.text.isEmpty()) {
            EXPECT_EQ(windowCount(), opened) << row.bytes.size();
            ASSERT_EQ(prompts.errors.size(), errorsBefore + 1) << row.bytes.size();
            EXPECT_TRUE(prompts.errors.back().text.contains("too large")) << row.bytes.size();
            continue;
        }
        ASSERT_EQ(windowCount(), ++opened) << row.bytes.size();
        ObjectWindow* window = frame.activeObjectWindow();
        EXPECT_EQ(window->objectText(), row.text);
        EXPECT_EQ(window->Text2->text(), "noname.kfm");
        EXPECT_EQ(window->windowTitle(), "3D-Objekt");
        EXPECT_TRUE(window->hasUnsavedChanges());
    }
}

QByteArray bigObj() {
    QByteArray obj;
    for (int i = 0; i < 101; ++i)
        obj += "v " + QByteArray::number(i) + " 2 3\n";
    return obj;
}

TEST_F(FileDropTest, AShapeBecomesANewObjectOrIsToldAndOpensNothing) {
    struct Row {
        QString name;
        QByteArray bytes;
        QString text; // the new object's text, or the message when it opens nothing
    };
    const Row rows[] = {
        {"square.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 3 4\n",
         "' From square.obj\r\n0/0/0\r\n1/0/0\r\n1/1/0\r\n0/1/0\r\n\r\n1-2\r\n2-3\r\n3-4\r\n4-1"},
        {"bad.off", "OFF\n1 1 0\n0 0 0\n3 0 0 5\n", "bad.off: line 4: '5' names no point"},
        {"big.obj", bigObj(),
         "big.obj: the shape has more than 100 points; an object holds at most 100 points and "
         "100 connections."},
    };
    int opened = 0;
    for (const Row& row : rows) {
        const std::size_t errorsBefore = prompts.errors.size();
        drop({write(row.name, row.bytes)});
        if (!row.text.startsWith("'")) {
            EXPECT_EQ(windowCount(), opened) << row.name.toStdString();
            ASSERT_EQ(prompts.errors.size(), errorsBefore + 1) << row.name.toStdString();
            EXPECT_TRUE(prompts.errors.back().text.contains(row.text))
                << prompts.errors.back().text.toStdString();
            continue;
        }
        ASSERT_EQ(windowCount(), ++opened) << row.name.toStdString();
        ObjectWindow* window = frame.activeObjectWindow();
        EXPECT_EQ(window->objectText(), row.text);
        EXPECT_EQ(window->Text2->text(), "noname.kfm");
        EXPECT_TRUE(window->hasUnsavedChanges());
    }
}

TEST_F(FileDropTest, FilesDroppedOnAnObjectTextOpenAndTextStillDropsInto) {
    ObjectWindow* window = newWindow(QStringLiteral("1/1/1"));
    QWidget* box = window->Text1->viewport();
    const QString cube = objectFile("cube.kfm", "1/2/3");

    EXPECT_TRUE(dragOver({cube}, box));
    drop({cube}, box);
    EXPECT_EQ(windowCount(), 2);
    EXPECT_EQ(window->objectText(), "1/1/1");

    // Text, not files: the box takes it as usual.
    QMimeData text;
    text.setText(QStringLiteral("2/2/2"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(box, &enter);
    EXPECT_TRUE(enter.isAccepted());
}

} // namespace
