"""Tests of bench/gen-policy: determinism, the shape of the policy and its validity."""

import collections
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
GEN_POLICY = os.environ.get("GEN_POLICY", os.path.join(HERE, "..", "gen-policy"))
RULES_XSD = os.environ.get("RULES_XSD", os.path.join(HERE, "..", "..", "schema", "rules.xsd"))
XSI_TYPE = "{http://www.w3.org/2001/XMLSchema-instance}type"
ID_RANGE = {"Generated": (100001, 200000), "Policy": (200001, 300000),
            "User": (300001, 2000000000), "Post": (2000000001, 4294967295)}

REF_KINDS = {
    "IpObjectRef": "IpObject", "InterfaceObjectRef": "InterfaceObject",
    "VpnObjectRef": "VpnObject", "ServiceObjectRef": "ServiceObject",
    "ScheduleObjectRef": "ScheduleObject",
}
CONDITION_ELEMENTS = {"ScheduleCondition", "ServiceCondition", "InterfaceCondition",
                      "IpHostCondition", "VpnHostCondition"}
IP_ENTRY_KINDS = {"sv:IpAddress", "sv:IpRange", "sv:IpMask"}


def generate(*args):
    """Runs the generator; returns (exit code, bytes written, stderr)."""
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "policy.xml")
        run = subprocess.run([sys.executable, GEN_POLICY, *args, "-o", path],
                             capture_output=True, text=True)
        data = open(path, "rb").read() if os.path.exists(path) else b""
    return run.returncode, data, run.stderr


def rule_elements(root):
    return root.find("Rules").findall("Rule")


class Policy:
    """A generated policy, parsed."""

    _cache = {}

    def __init__(self, *args):
        code, self.data, err = generate(*args)
        if code != 0:
            raise AssertionError("gen-policy %s failed: %s" % (" ".join(args), err))
        self.root = ET.fromstring(self.data)

    @classmethod
    def of(cls, *args):
        if args not in cls._cache:
            cls._cache[args] = cls(*args)
        return cls._cache[args]

    def objects(self):
        named = self.root.find("NamedObjects")
        return [] if named is None else list(named)


class DeterminismTest(unittest.TestCase):
    def test_same_arguments_give_same_bytes(self):
        first = generate("--rules", "150", "--seed", "7")
        second = generate("--rules", "150", "--seed", "7")
        self.assertEqual(first[0], 0, first[2])
        self.assertEqual(first[1], second[1])

    def test_other_seed_gives_other_policy(self):
        self.assertNotEqual(generate("--rules", "150", "--seed", "7")[1],
                            generate("--rules", "150", "--seed", "8")[1])


class RuleShapeTest(unittest.TestCase):
    def test_sections_share_the_rules(self):
        rules = rule_elements(Policy.of("--rules", "1000").root)
        counts = collections.Counter(r.get(XSI_TYPE) for r in rules)
        expected = {"sv:LocalRule": 150, "sv:VpnRule": 200, "sv:TransitRule": 400,
                    "sv:TunnelingRule": 100, "sv:NatRule": 150}
        self.assertEqual(dict(counts), expected)

    def test_odd_rule_counts_are_kept_exactly(self):
        for n in (0, 1, 7, 333):
            with self.subTest(rules=n):
                self.assertEqual(len(rule_elements(Policy.of("--rules", str(n)).root)), n)

    def test_identifiers_are_unique_and_order_ids_unique_per_section(self):
        policy = Policy.of("--rules", "1000")
        rules = rule_elements(policy.root)
        ids = [int(r.findtext("RuleId")) for r in rules]
        self.assertEqual(len(set(ids)), len(ids))
        # An edit renumbers an identifier outside its creation type's range.
        numbers = [(r, "RuleId") for r in rules] + [(r, "OrderId") for r in rules]
        numbers += [(o, "Id") for o in policy.objects()]
        for element, key in numbers:
            first, last = ID_RANGE[element.findtext("CreationType")]
            self.assertTrue(first <= int(element.findtext(key)) <= last,
                            "%s %s" % (key, element.findtext(key)))
        policy_ids = [int(r.findtext("RuleId")) for r in rules
                      if r.findtext("CreationType") == "Policy"]
        self.assertEqual(min(policy_ids), 200001)
        by_section = collections.defaultdict(list)
        for r in rules:
            by_section[r.findtext("Section")].append(int(r.findtext("OrderId")))
        for section, order_ids in by_section.items():
            with self.subTest(section=section):
                self.assertEqual(len(set(order_ids)), len(order_ids))
                self.assertEqual(order_ids, sorted(order_ids))

    def test_every_rule_has_one_to_four_conditions(self):
        for r in rule_elements(Policy.of("--rules", "1000").root):
            conditions = [e for e in r.find("ConditionSet").iter() if e.tag in CONDITION_ELEMENTS]
            self.assertTrue(1 <= len(conditions) <= 4,
                            "rule %s has %d conditions" % (r.findtext("RuleId"), len(conditions)))

    def test_every_condition_kind_occurs(self):
        found = {e.get(XSI_TYPE) for e in Policy.of("--rules", "1000").root.iter()}
        for kind in ["IpAddress", "IpMask", "IpRange", "DomainName", "IpObjectRef",
                     "IpSystemObjectRef", "VpnNodeId", "VpnNetworkId", "VpnNameTemplate",
                     "VpnObjectRef", "VpnSystemObjectRef", "SimpleInterface", "InterfaceByIp",
                     "InterfaceObjectRef", "InterfaceSystemObjectRef", "ProtocolCondition",
                     "IcmpCondition", "TcpCondition", "UdpCondition", "ServiceObjectRef",
                     "ServiceSystemObjectRef", "Daily", "Weekly", "Calendar",
                     "ScheduleObjectRef", "ScheduleSystemObjectRef", "Port", "PortRange",
                     "PublicNetwork", "PrivateNetwork", "Filter", "Translation"]:
            with self.subTest(kind=kind):
                self.assertIn("sv:" + kind, found)


class NamedObjectTest(unittest.TestCase):
    def test_every_reference_names_an_object_of_its_kind(self):
        policy = Policy.of("--rules", "1000")
        kinds = {obj.findtext("Id"): obj.tag for obj in policy.objects()}
        self.assertEqual(len(kinds), len(policy.objects()), "object Ids repeat")
        refs = [e for e in policy.root.iter() if (e.get(XSI_TYPE) or "")[3:] in REF_KINDS]
        self.assertGreater(len(refs), 100)
        for ref in refs:
            kind = REF_KINDS[ref.get(XSI_TYPE)[3:]]
            self.assertEqual(kinds.get(ref.findtext("Id")), kind,
                             "%s with Id %s" % (ref.get(XSI_TYPE), ref.findtext("Id")))

    def test_objects_include_only_earlier_objects_of_their_creation_type(self):
        seen = {}
        for obj in Policy.of("--rules", "3000").objects():
            for ref in obj:
                if (ref.get(XSI_TYPE) or "")[3:] in REF_KINDS:
                    self.assertEqual(seen.get(ref.findtext("Id")), obj.findtext("CreationType"),
                                     "object %s" % obj.findtext("Id"))
            seen[obj.findtext("Id")] = obj.findtext("CreationType")

    def test_every_object_kind_occurs(self):
        tags = collections.Counter(o.tag for o in Policy.of("--rules", "1000").objects())
        self.assertEqual(sorted(tags), ["InterfaceObject", "IpObject", "ScheduleObject",
                                        "ServiceObject", "VpnObject"])
        self.assertEqual(sum(tags.values()), 100)

    def test_ip_entries_reach_the_requested_total(self):
        policy = Policy.of("--rules", "200", "--objects", "300", "--ip-entries", "40000")
        sizes = [sum(1 for e in obj if e.get(XSI_TYPE) in IP_ENTRY_KINDS)
                 for obj in policy.objects() if obj.tag == "IpObject"]
        self.assertEqual(sum(sizes), 40000)
        self.assertLessEqual(max(sizes), 1000)
        self.assertGreaterEqual(min(sizes), 1)

    def test_offsets_past_a_range_are_refused(self):
        code, _, err = generate("--rules", "10", "--objects", "30", "--object-id-offset", "99990")
        self.assertNotEqual(code, 0)
        self.assertIn("object identifiers of creation type Policy run past 300000", err)

    def test_impossible_ip_totals_are_refused(self):
        rows = [
            (["--objects", "10", "--ip-entries", "5001"], "cannot hold 5001 entries"),
            (["--objects", "100", "--ip-entries", "3"], "at least the number of IP objects"),
        ]
        for args, message in rows:
            with self.subTest(args=args):
                code, _, err = generate("--rules", "10", *args)
                self.assertNotEqual(code, 0)
                self.assertIn(message, err)


class SharedObjectsTest(unittest.TestCase):
    def test_rules_documents_refer_to_the_objects_document(self):
        objects = Policy.of("--rules", "0", "--objects", "200")
        rules = Policy.of("--rules", "400", "--objects", "200", "--omit-named-objects",
                          "--rules-seed", "5", "--rule-id-offset", "5000")
        self.assertEqual(rules.objects(), [])
        self.assertEqual(len(objects.objects()), 200)
        user_ids = [int(r.findtext("RuleId")) for r in rule_elements(rules.root)
                    if r.findtext("CreationType") == "User"]
        self.assertEqual(min(user_ids), 305000 + 1)
        kinds = {obj.findtext("Id"): obj.tag for obj in objects.objects()}
        refs = [e for e in rules.root.iter() if (e.get(XSI_TYPE) or "")[3:] in REF_KINDS]
        self.assertGreater(len(refs), 50)
        for ref in refs:
            self.assertEqual(kinds.get(ref.findtext("Id")), REF_KINDS[ref.get(XSI_TYPE)[3:]])

    def test_rules_seed_changes_only_the_rules(self):
        a = Policy.of("--rules", "100", "--objects", "50", "--rules-seed", "1")
        b = Policy.of("--rules", "100", "--objects", "50", "--rules-seed", "2")
        self.assertEqual(ET.tostring(a.root.find("NamedObjects")),
                         ET.tostring(b.root.find("NamedObjects")))
        self.assertNotEqual(ET.tostring(a.root.find("Rules")), ET.tostring(b.root.find("Rules")))


class DistinctDestinationsTest(unittest.TestCase):
    """Documents to merge whose rules no rule of another can shadow."""

    def destinations(self, policy):
        out = []
        for rule in rule_elements(policy.root):
            side = rule.find("ConditionSet").find("Destination")
            hosts = [] if side is None else list(side)
            self.assertEqual(len(hosts), 1, rule.findtext("Name"))
            out.append((hosts[0].get(XSI_TYPE), hosts[0].findtext("Value")))
        return out

    def test_every_rule_has_a_host_no_other_rule_of_either_document_names(self):
        a = self.destinations(Policy.of("--rules", "300", "--distinct-destinations"))
        b = self.destinations(Policy.of("--rules", "300", "--distinct-destinations", "--seed", "2",
                                        "--rule-id-offset", "1000"))
        self.assertEqual(len(set(a + b)), 600)
        self.assertEqual({kind for kind, _ in a}, {"sv:IpAddress", "sv:VpnNodeId"})
        addresses = [value for kind, value in a + b if kind == "sv:IpAddress"]
        self.assertTrue(all(value.startswith("100.") for value in addresses))

    def test_more_hosts_than_the_block_holds_are_refused(self):
        code, _, err = generate("--rules", "10", "--distinct-destinations",
                                "--rule-id-offset", str(1 << 22))
        self.assertEqual(code, 2)
        self.assertIn("exceeds", err)


@unittest.skipUnless(shutil.which("xmllint"), "xmllint is not installed")
class ValidityTest(unittest.TestCase):
    def test_policies_validate_against_the_rules_schema(self):
        for args in [("--rules", "1000"), ("--rules", "50", "--objects", "0", "--options", "0"),
                     ("--rules", "0", "--objects", "200"),
                     ("--rules", "400", "--objects", "200", "--omit-named-objects",
                      "--rules-seed", "5", "--rule-id-offset", "5000"),
                     ("--rules", "100", "--objects", "60", "--ip-entries", "20000"),
                     ("--rules", "300", "--distinct-destinations")]:
            with self.subTest(args=args):
                with tempfile.TemporaryDirectory() as tmp:
                    path = os.path.join(tmp, "policy.xml")
                    with open(path, "wb") as f:
                        f.write(Policy.of(*args).data)
                    run = subprocess.run(["xmllint", "--noout", "--schema", RULES_XSD, path],
                                         capture_output=True, text=True)
                    self.assertEqual(run.returncode, 0, run.stderr[-2000:])


if __name__ == "__main__":
    unittest.main()
