<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>QObject</name>
    <message>
        <source>typing</source>
        <translation>输入</translation>
    </message>
</context>
<context>
    <name>TfrmProofread</name>
    <message>
        <source>Proofreading</source>
        <translation>校对</translation>
    </message>
    <message>
        <source>Polyphones:</source>
        <translation>多音字：</translation>
    </message>
    <message>
        <source>First reading</source>
        <translation>取第一个读音</translation>
    </message>
    <message>
        <source>All readings</source>
        <translation>列出全部读音</translation>
    </message>
    <message>
        <source>By context</source>
        <translation>按词语读音</translation>
    </message>
    <message>
        <source>Tones:</source>
        <translation>声调：</translation>
    </message>
    <message>
        <source>Tone marks</source>
        <translation>标调符号</translation>
    </message>
    <message>
        <source>Tone numbers</source>
        <translation>数字标调</translation>
    </message>
    <message>
        <source>No tones</source>
        <translation>不标声调</translation>
    </message>
    <message>
        <source>Light tones as spoken</source>
        <translation>轻声按口语</translation>
    </message>
    <message>
        <source>Tone changes of 一 and 不</source>
        <translation>“一”“不”变调</translation>
    </message>
    <message>
        <source>Written by words</source>
        <translation>按词连写</translation>
    </message>
    <message>
        <source>Type or paste Chinese text here, or open a file.</source>
        <translation>在此输入或粘贴中文，或打开文件。</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>Open text…</source>
        <translation>打开文本…</translation>
    </message>
    <message>
        <source>Open proofreading…</source>
        <translation>打开校对稿…</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Save as…</source>
        <translation>另存为…</translation>
    </message>
    <message>
        <source>Export handout…</source>
        <translation>导出讲义…</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>No readings known for %1</source>
        <translation>“%1”没有已知读音</translation>
    </message>
    <message>
        <source>This %1 only</source>
        <translation>仅此处的“%1”</translation>
    </message>
    <message>
        <source>Every %1 in this text</source>
        <translation>本文中所有的“%1”</translation>
    </message>
    <message>
        <source>Always, in every text (a word of my own)</source>
        <translation>总是这样读（加入自定义词语）</translation>
    </message>
    <message>
        <source>Take back the chosen reading</source>
        <translation>撤回所选读音</translation>
    </message>
    <message>
        <source>Reading of %1</source>
        <translation>“%1”的读音</translation>
    </message>
    <message>
        <source>Always read %1</source>
        <translation>“%1”总是这样读</translation>
    </message>
    <message>
        <source>Take back a reading</source>
        <translation>撤回读音</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>文本文件 (*.txt);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Proofreading (*.tolvane-proof);;All files (*)</source>
        <translation>校对稿 (*.tolvane-proof);;所有文件 (*)</translation>
    </message>
    <message>
        <source>My words</source>
        <translation>我的词语</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>词语</translation>
    </message>
    <message>
        <source>Pinyin</source>
        <translation>拼音</translation>
    </message>
    <message>
        <source>Pinyin, e.g. yin2 hang2</source>
        <translation>拼音，如 yin2 hang2</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Import TSV…</source>
        <translation>导入 TSV…</translation>
    </message>
    <message>
        <source>Export TSV…</source>
        <translation>导出 TSV…</translation>
    </message>
    <message>
        <source>Lines passed over:</source>
        <translation>以下各行未采用：</translation>
    </message>
    <message>
        <source>My word %1</source>
        <translation>自定义词语“%1”</translation>
    </message>
    <message>
        <source>Remove my word %1</source>
        <translation>删除自定义词语“%1”</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>导入 %1</translation>
    </message>
    <message>
        <source>Tab-separated values (*.tsv *.txt);;All files (*)</source>
        <translation>制表符分隔文件 (*.tsv *.txt);;所有文件 (*)</translation>
    </message>
</context>
</TS>
