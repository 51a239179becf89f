// ProcessData, the material parameter trio, and the value encodings of process-list files.

#include "BatchTestSupport.h"
#include "Model/Materials/MaterialFactory.h"
#include "Engine/ProcessValueCodec.h"

#include <QBitArray>
#include <QColor>
#include <gtest/gtest.h>
#include <sstream>

using namespace Engine;

// --- ProcessData

TEST(ProcessData, EveryConstructionTakesTheNextIdAndCopiesKeepIt)
{
    ProcessData first(CvdType);
    ProcessData second(CvdType);
    EXPECT_EQ(second.id(), first.id() + 1);
    const ProcessData copy = second;
    EXPECT_EQ(copy.id(), second.id());
    ProcessData third;
    EXPECT_EQ(third.id(), second.id() + 1);
    EXPECT_EQ(third.processType(), ProcessData::kInvalidType);
}

TEST(ProcessData, AddSetsValueAndVisibilityAndReplaces)
{
    ProcessData step(IsotropicDepositionType);
    step.addProcessParameter("Film Thickness", 2.5, true);
    EXPECT_EQ(step.getProcessParameter("Film Thickness").toDouble(), 2.5);
    EXPECT_TRUE(step.getParameterVisibility("Film Thickness"));

    step.addProcessParameter("Film Thickness", 4.0, false);
    EXPECT_EQ(step.getProcessParameter("Film Thickness").toDouble(), 4.0);
    EXPECT_FALSE(step.getParameterVisibility("Film Thickness"));
    EXPECT_EQ(step.parameters().size(), 1);
}

TEST(ProcessData, SetKeepsTheVisibilityAndANewNameIsHidden)
{
    ProcessData step(IsotropicDepositionType);
    step.addProcessParameter("Film Thickness", 2.5, true);
    step.setProcessParameter("Film Thickness", 3.0);
    EXPECT_TRUE(step.getParameterVisibility("Film Thickness"));
    EXPECT_EQ(step.getProcessParameter("Film Thickness").toDouble(), 3.0);

    step.setProcessParameter("Extra", 1u);
    EXPECT_TRUE(step.hasParameter("Extra"));
    EXPECT_FALSE(step.getParameterVisibility("Extra"));
    EXPECT_EQ(step.visibility().size(), step.parameters().size());
}

TEST(ProcessData, AbsentNamesGiveInvalidValueAndHidden)
{
    const ProcessData step(CvdType);
    EXPECT_FALSE(step.getProcessParameter("Thickness").isValid());
    EXPECT_FALSE(step.getParameterVisibility("Thickness"));
    EXPECT_FALSE(step.hasParameter("Thickness"));
}

TEST(ProcessData, ParametersAreOrderedByName)
{
    ProcessData step(AnisotropicDepositionType);
    step.addProcessParameter("Material_Id", 1u, false);
    step.addProcessParameter("Film Thickness", 1.0, true);
    step.addProcessParameter("Material", "Si", true);
    EXPECT_EQ(step.parameters().keys(), (QStringList{"Film Thickness", "Material", "Material_Id"}));
}

TEST(ProcessData, ExpandedFlagStartsClear)
{
    ProcessData step(CvdType);
    EXPECT_FALSE(step.isExpanded());
    step.setExpanded(true);
    EXPECT_TRUE(step.isExpanded());
}

TEST(ProcessData, PrintsTypeNameAndParameters)
{
    ProcessData step(IsotropicDepositionType);
    step.addProcessParameter("Film Thickness", 2.5, true);
    step.addProcessParameter("Material_Id", 1u, false);
    std::ostringstream out;
    PrintTo(step, &out);
    const std::string text = out.str();
    EXPECT_NE(text.find("16 \"Isotropic Deposition\""), std::string::npos) << text;
    EXPECT_NE(text.find("Film Thickness=double:2.5"), std::string::npos) << text;
    EXPECT_NE(text.find("Material_Id=uint:1 (hidden)"), std::string::npos) << text;
}

// --- Material parameters

TEST(MaterialParameters, AddIdNameAndOpaqueColour)
{
    auto catalogue = Model::Materials::MaterialFactory::instance();
    Model::Materials::Material oxide = catalogue->material(BatchTest::kOxide);
    ASSERT_EQ(oxide.materialId(), BatchTest::kOxide);

    ProcessData step(CvdType);
    addMaterialParameters(step, "Material", BatchTest::kOxide);
    EXPECT_EQ(step.getProcessParameter("Material_Id").userType(), int(QMetaType::UInt));
    EXPECT_EQ(step.getProcessParameter("Material_Id").toUInt(), BatchTest::kOxide);
    EXPECT_FALSE(step.getParameterVisibility("Material_Id"));
    EXPECT_EQ(step.getProcessParameter("Material").toString(), oxide.name());
    EXPECT_TRUE(step.getParameterVisibility("Material"));
    const QColor color = step.getProcessParameter("Material_Color").value<QColor>();
    EXPECT_FALSE(step.getParameterVisibility("Material_Color"));
    // 0.5 × 255 truncates to 127.
    EXPECT_EQ(color, QColor(127, 127, 255, 255));
}

TEST(MaterialParameters, DopingStepsShowTheId)
{
    ProcessData step(DopingType);
    addMaterialParameters(step, "Doped Material", 14, true);
    EXPECT_TRUE(step.getParameterVisibility("Doped Material_Id"));
    EXPECT_EQ(step.getProcessParameter("Doped Material").toString(), QString("N-doped Si (100)"));
}

TEST(MaterialParameters, UnknownIdGivesTheCatalogueDefaultEntry)
{
    ProcessData step(CvdType);
    addMaterialParameters(step, "Material", 987654);
    EXPECT_EQ(step.getProcessParameter("Material_Id").toUInt(), 987654u);
    EXPECT_EQ(step.getProcessParameter("Material").toString(), QString("Empty"));
    EXPECT_EQ(step.getProcessParameter("Material_Color").value<QColor>().alpha(), 255);
}

// --- Value encodings

TEST(ProcessValueCodec, EncodesTheTypeNamesOfTheTable)
{
    auto type = [](const QVariant &v) { return encodeProcessValue(v).typeName; };
    auto data = [](const QVariant &v) { return encodeProcessValue(v).data; };
    EXPECT_EQ(type(true), QString("bool"));
    EXPECT_EQ(data(true), QString("true"));
    EXPECT_EQ(data(false), QString("false"));
    EXPECT_EQ(type(-7), QString("int"));
    EXPECT_EQ(data(-7), QString("-7"));
    EXPECT_EQ(type(7u), QString("uint"));
    EXPECT_EQ(type(1.5f), QString("float"));
    EXPECT_EQ(type(1.5), QString("double"));
    EXPECT_EQ(type(QString("x")), QString("QString"));
    EXPECT_EQ(type(QColor(255, 0, 16)), QString("QColor"));
    EXPECT_EQ(data(QColor(255, 0, 16)), QString("#ff0010"));
}

TEST(ProcessValueCodec, BoolVectorsAreWrittenAsVectorWhateverTheirContainer)
{
    const QVector<bool> bits{false, true, true, false};
    EXPECT_EQ(encodeProcessValue(QVariant::fromValue(bits)).typeName, QString("vector"));
    EXPECT_EQ(encodeProcessValue(QVariant::fromValue(bits)).data, QString("0110"));
    QBitArray array(3);
    array.setBit(0);
    EXPECT_EQ(encodeProcessValue(QVariant(array)).data, QString("100"));
    EXPECT_EQ(encodeProcessValue(QVariant::fromValue(std::vector<bool>{true, true})).data, QString("11"));
}

TEST(ProcessValueCodec, ThreeDoublesAreWrittenAsVector3D)
{
    const EncodedValue v = encodeProcessValue(QVariant::fromValue(Util::Vector3D(1, 2.5, -3)));
    EXPECT_EQ(v.typeName, QString("Util::Vector3D"));
    EXPECT_EQ(v.data, QString("1;2.5;-3"));
    // The substrate dialog hands its corner over as a list of three doubles.
    const EncodedValue list = encodeProcessValue(QVariantList{0.125, 2.0, 3.0});
    EXPECT_EQ(list.typeName, QString("Util::Vector3D"));
    EXPECT_EQ(list.data, QString("0.125;2;3"));
    EXPECT_EQ(encodeProcessValue(QVariant::fromValue(Util::Vector3D(1.0 / 3, 0, 0))).data,
              QString("0.3333333333;0;0"));
}

TEST(ProcessValueCodec, DecodesVector3DFromSemicolonText)
{
    const QVariant v = decodeProcessValue("Util::Vector3D", "1;2.5;-3");
    ASSERT_EQ(v.userType(), qMetaTypeId<Util::Vector3D>());
    EXPECT_EQ(v.value<Util::Vector3D>(), Util::Vector3D(1, 2.5, -3));
    EXPECT_EQ(decodeProcessValue("Util::Vector3D", "").value<Util::Vector3D>(), Util::Vector3D());
    EXPECT_EQ(decodeProcessValue("Util::Vector3D", ";4;").value<Util::Vector3D>(), Util::Vector3D(0, 4, 0));
    // The dialog reads the corner with toList().
    const QVariantList list = v.toList();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[1].toDouble(), 2.5);
}

TEST(ProcessValueCodec, DecodesBoolVectorCharacterByCharacter)
{
    const QVariant v = decodeProcessValue("vector", "0110");
    ASSERT_EQ(v.userType(), qMetaTypeId<QVector<bool>>());
    EXPECT_EQ(v.value<QVector<bool>>(), (QVector<bool>{false, true, true, false}));
    EXPECT_EQ(decodeProcessValue("vector", "1x").value<QVector<bool>>(), (QVector<bool>{true, false}));
}

TEST(ProcessValueCodec, VectorsShowTheirFileTextAsString)
{
    registerProcessValueTypes();
    EXPECT_EQ(QVariant::fromValue(Util::Vector3D(1, 2.5, -3)).toString(), QString("1;2.5;-3"));
    EXPECT_EQ(QVariant::fromValue(QVector<bool>{true, false}).toString(), QString("10"));
    EXPECT_EQ(processValueText(QColor(0, 0, 255)), QString("#0000ff"));
}

TEST(ProcessValueCodec, DecodesThePlainTypes)
{
    EXPECT_EQ(decodeProcessValue("bool", "true"), QVariant(true));
    EXPECT_EQ(decodeProcessValue("bool", "True"), QVariant(false));
    EXPECT_EQ(decodeProcessValue("int", "-12"), QVariant(-12));
    EXPECT_EQ(decodeProcessValue("uint", "12"), QVariant(12u));
    EXPECT_EQ(decodeProcessValue("float", "0.1"), QVariant(0.1f));
    EXPECT_EQ(decodeProcessValue("double", "0.1"), QVariant(0.1));
    EXPECT_EQ(decodeProcessValue("QString", "a b"), QVariant(QString("a b")));
    EXPECT_EQ(decodeProcessValue("QColor", "#ff0010").value<QColor>(), QColor(255, 0, 16));
}

TEST(ProcessValueCodec, UnknownTypeNameReadsAsInvalid)
{
    EXPECT_FALSE(decodeProcessValue("QDateTime", "2020").isValid());
    EXPECT_FALSE(decodeProcessValue("", "").isValid());
}

TEST(ProcessValueCodec, NumberThatDoesNotConvertStaysTextSoTheRunnerRefusesIt)
{
    const QVariant v = decodeProcessValue("uint", "-1");
    ASSERT_TRUE(v.isValid());
    bool ok = true;
    v.toUInt(&ok);
    EXPECT_FALSE(ok);
}

TEST(ProcessValueCodec, HelpersAcceptTheEquivalentContainers)
{
    Util::Vector3D vector;
    EXPECT_TRUE(vector3DFromVariant(QVariantList{1, 2, 3}, vector));
    EXPECT_EQ(vector, Util::Vector3D(1, 2, 3));
    EXPECT_FALSE(vector3DFromVariant(QVariantList{1, 2}, vector));
    EXPECT_FALSE(vector3DFromVariant(QVariantList{1, "a", 3}, vector));
    EXPECT_FALSE(vector3DFromVariant(QVariant(1.0), vector));

    QVector<bool> bits;
    EXPECT_TRUE(boolVectorFromVariant(QVariant::fromValue(std::vector<bool>{false, true}), bits));
    EXPECT_EQ(bits, (QVector<bool>{false, true}));
    EXPECT_FALSE(boolVectorFromVariant(QVariant(QString("01")), bits));
}
