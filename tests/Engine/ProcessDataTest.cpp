// ProcessData, the material parameter trio, and the value encodings of process-list files.

#include "BatchTestSupport.h"
#include "Model/Materials/MaterialFactory.h"
#include "Engine/ProcessValueCodec.h"

#include <QBitArray>
#include <QColor>
#include <gtest/gtest.h>

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

TEST(ProcessData, AddReplacesValueAndVisibilitySetKeepsTheVisibility)
{
    ProcessData step(IsotropicDepositionType);
    step.addProcessParameter("Film Thickness", 2.5, true);
    step.addProcessParameter("Film Thickness", 4.0, false);
    EXPECT_EQ(step.getProcessParameter("Film Thickness").toDouble(), 4.0);
    EXPECT_FALSE(step.getParameterVisibility("Film Thickness"));
    EXPECT_EQ(step.parameters().size(), 1);

    step.addProcessParameter("Film Thickness", 2.5, true);
    step.setProcessParameter("Film Thickness", 3.0);
    EXPECT_TRUE(step.getParameterVisibility("Film Thickness"));
    EXPECT_EQ(step.getProcessParameter("Film Thickness").toDouble(), 3.0);
    // A new name set is hidden; an absent one reads invalid and hidden.
    step.setProcessParameter("Extra", 1u);
    EXPECT_TRUE(step.hasParameter("Extra"));
    EXPECT_FALSE(step.getParameterVisibility("Extra"));
    EXPECT_EQ(step.visibility().size(), step.parameters().size());
    EXPECT_FALSE(step.getProcessParameter("Thickness").isValid());
    EXPECT_FALSE(step.getParameterVisibility("Thickness"));
    EXPECT_FALSE(step.hasParameter("Thickness"));
}

TEST(MaterialParameters, AddIdNameAndOpaqueColourWithTheIdShownOnlyWhenAsked)
{
    ProcessData step(CvdType);
    addMaterialParameters(step, "Material", BatchTest::kOxide);
    EXPECT_EQ(step.getProcessParameter("Material_Id").userType(), int(QMetaType::UInt));
    EXPECT_EQ(step.getProcessParameter("Material_Id").toUInt(), BatchTest::kOxide);
    EXPECT_FALSE(step.getParameterVisibility("Material_Id"));
    EXPECT_EQ(step.getProcessParameter("Material").toString(),
              Model::Materials::MaterialFactory::instance()->material(BatchTest::kOxide).name());
    EXPECT_TRUE(step.getParameterVisibility("Material"));
    EXPECT_FALSE(step.getParameterVisibility("Material_Color"));
    // 0.5 × 255 truncates to 127.
    EXPECT_EQ(step.getProcessParameter("Material_Color").value<QColor>(), QColor(127, 127, 255, 255));

    ProcessData doping(DopingType);
    addMaterialParameters(doping, "Doped Material", 14, true);
    EXPECT_TRUE(doping.getParameterVisibility("Doped Material_Id"));
    EXPECT_EQ(doping.getProcessParameter("Doped Material").toString(), QString("N-doped Si (100)"));

    // An unknown id keeps its number and takes the catalogue's default entry.
    ProcessData unknown(CvdType);
    addMaterialParameters(unknown, "Material", 987654);
    EXPECT_EQ(unknown.getProcessParameter("Material_Id").toUInt(), 987654u);
    EXPECT_EQ(unknown.getProcessParameter("Material").toString(), QString("Empty"));
    EXPECT_EQ(unknown.getProcessParameter("Material_Color").value<QColor>().alpha(), 255);
}

// --- Value encodings

TEST(ProcessValueCodec, EncodesAndDecodesEveryTypeOfTheTable)
{
    const struct {
        QVariant value;
        const char *typeName;
        const char *data;
    } cases[] = {
        {true, "bool", "true"},
        {false, "bool", "false"},
        {-7, "int", "-7"},
        {7u, "uint", "7"},
        {1.5f, "float", "1.5"},
        {-0.25, "double", "-0.25"},
        {QString("a b"), "QString", "a b"},
        {QColor(255, 0, 16), "QColor", "#ff0010"},
        {QVariant::fromValue(QVector<bool>{false, true, true, false}), "vector", "0110"},
        {QVariant::fromValue(Util::Vector3D(1, 2.5, -3)), "Util::Vector3D", "1;2.5;-3"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.data);
        const EncodedValue encoded = encodeProcessValue(c.value);
        EXPECT_EQ(encoded.typeName, QString(c.typeName));
        EXPECT_EQ(encoded.data, QString(c.data));
        const QVariant decoded = decodeProcessValue(c.typeName, c.data);
        EXPECT_EQ(decoded.userType(), c.value.userType());
        EXPECT_EQ(decoded, c.value);
    }
    // Only "true" is true; unknown type names read invalid.
    EXPECT_EQ(decodeProcessValue("bool", "True"), QVariant(false));
    EXPECT_FALSE(decodeProcessValue("QDateTime", "2020").isValid());
    EXPECT_FALSE(decodeProcessValue("", "").isValid());
    // A number that does not convert stays text, so that the runner refuses it.
    bool ok = true;
    const QVariant negative = decodeProcessValue("uint", "-1");
    ASSERT_TRUE(negative.isValid());
    negative.toUInt(&ok);
    EXPECT_FALSE(ok);
}

TEST(ProcessValueCodec, VectorsAreWrittenWhateverTheirContainerAndReadLeniently)
{
    QBitArray array(3);
    array.setBit(0);
    EXPECT_EQ(encodeProcessValue(QVariant(array)).data, QString("100"));
    EXPECT_EQ(encodeProcessValue(QVariant::fromValue(std::vector<bool>{true, true})).data, QString("11"));
    EXPECT_EQ(decodeProcessValue("vector", "1x").value<QVector<bool>>(), (QVector<bool>{true, false}));
    // The substrate dialog hands its corner over as a list of three doubles, and reads it with toList().
    const EncodedValue list = encodeProcessValue(QVariantList{0.125, 2.0, 3.0});
    EXPECT_EQ(list.typeName, QString("Util::Vector3D"));
    EXPECT_EQ(list.data, QString("0.125;2;3"));
    EXPECT_EQ(encodeProcessValue(QVariant::fromValue(Util::Vector3D(1.0 / 3, 0, 0))).data, QString("0.3333333333;0;0"));
    EXPECT_EQ(decodeProcessValue("Util::Vector3D", "").value<Util::Vector3D>(), Util::Vector3D());
    EXPECT_EQ(decodeProcessValue("Util::Vector3D", ";4;").value<Util::Vector3D>(), Util::Vector3D(0, 4, 0));
    EXPECT_EQ(decodeProcessValue("Util::Vector3D", "1;2.5;-3").toList().value(1).toDouble(), 2.5);
    // Shown as their file text.
    registerProcessValueTypes();
    EXPECT_EQ(QVariant::fromValue(Util::Vector3D(1, 2.5, -3)).toString(), QString("1;2.5;-3"));
    EXPECT_EQ(QVariant::fromValue(QVector<bool>{true, false}).toString(), QString("10"));
    EXPECT_EQ(processValueText(QColor(0, 0, 255)), QString("#0000ff"));
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
